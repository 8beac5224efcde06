#pragma once

#include "session/login_values.h"
#include "storage/db.h"
#include "storage/outcome.h"

#include <QString>

namespace ts {

// The caller-ID and recording hardware as the login window shows it.
struct HardwareChoice {
    bool serial = false;     // 串口来电
    QString port;            // "1" … "20", empty when none is chosen
    QString boxType;         // "MODEM", "一路", "二路", "四路" or empty
    bool usbRecording = false;  // USB来电录音
    QString model;           // "H型", "Q型", "H型无录音"
    QString channels;        // "1", "2", "4", "8", "16"
};

struct LoginInput {
    QString user;
    QString password;
    HardwareChoice hardware;
};

inline const QString kNoRight = QStringLiteral("您无权登陆本系统！！");

class Login {
public:
    explicit Login(Db& db) : db_(db) {}

    // The hardware stored by the last login, for the window to show.
    HardwareChoice storedHardware();
    // Every 用户 of 登陆 in table order.
    QStringList userNames();

    // The checks and steps of a login. On success `values` holds everything
    // later forms read (operator, rights, hardware, settings, commission
    // method). A failing repair is a notice; the login goes on.
    Outcome login(const LoginInput& input, const QString& programDir, LoginValues& values);

    // Nulls in the customer totals become 0; the SMS outbox must be there.
    // Returns the engine's text of the first failure, or an empty text.
    QString runRepairs();

private:
    Db& db_;
};

} // namespace ts
