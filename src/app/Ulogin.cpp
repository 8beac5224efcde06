#include "app/Ulogin.h"

#include "app/app_context.h"
#include "session/login_values.h"
#include "storage/schema.h"
#include "widgets/action.h"
#include "widgets/form_helpers.h"
#include "widgets/messages.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace ts {

namespace {

QComboBox* combo(const QString& name, const QStringList& items)
{
    QComboBox* c = makeComboBox(name);
    c->addItems(items);
    return c;
}

QLabel* label(const QString& text)
{
    auto* l = new QLabel(text);
    l->setObjectName(text + QStringLiteral("标签"));
    return l;
}

} // namespace

Tlogin::Tlogin(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Tlogin"));
    const LoginValues& lv = LoginValues::current();
    setWindowTitle(lv.companyShortName == QStringLiteral("澄源") ? QStringLiteral("用户登陆")
                                                                 : QStringLiteral("用户登录"));

    user_ = makeComboBox(QStringLiteral("用户名"), nullptr, true);
    password_ = makeLineEdit(QStringLiteral("密码"));
    password_->setEchoMode(QLineEdit::Password);
    auto* hint = new QLabel(QStringLiteral("初始用户：admin　初始密码：%1").arg(kInitialAdminPassword));
    hint->setObjectName(QStringLiteral("提示"));

    serial_ = makeCheckBox(QStringLiteral("串口来电"));
    QStringList ports;
    for (int i = 1; i <= 20; ++i)
        ports << QString::number(i);
    portLabel_ = label(QStringLiteral("串口"));
    port_ = combo(QStringLiteral("串口"), ports);
    typeLabel_ = label(QStringLiteral("类型"));
    boxType_ = combo(QStringLiteral("类型"), {QStringLiteral("MODEM"), QStringLiteral("一路"), QStringLiteral("二路"),
                                              QStringLiteral("四路")});

    usb_ = makeCheckBox(QStringLiteral("USB来电录音"));
    modelLabel_ = label(QStringLiteral("型号"));
    model_ = combo(QStringLiteral("型号"), {QStringLiteral("H型"), QStringLiteral("Q型"), QStringLiteral("H型无录音")});
    channelsLabel_ = label(QStringLiteral("路数"));
    channels_ = combo(QStringLiteral("路数"), {QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("4"),
                                               QStringLiteral("8"), QStringLiteral("16")});

    loginButton_ = makeButton(QStringLiteral("登陆"));
    loginButton_->setDefault(true);
    // Enter anywhere in the window, the password above all, means 登陆.
    quitButton_ = makeButton(QStringLiteral("退出"));

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("用户名"), user_);
    form->addRow(QStringLiteral("密码"), password_);
    form->addRow(QString(), hint);

    auto* hwBox = new QGroupBox(QStringLiteral("来电设备"));
    auto* grid = new QGridLayout(hwBox);
    grid->addWidget(serial_, 0, 0);
    grid->addWidget(portLabel_, 0, 1);
    grid->addWidget(port_, 0, 2);
    grid->addWidget(typeLabel_, 0, 3);
    grid->addWidget(boxType_, 0, 4);
    grid->addWidget(usb_, 1, 0);
    grid->addWidget(modelLabel_, 1, 1);
    grid->addWidget(model_, 1, 2);
    grid->addWidget(channelsLabel_, 1, 3);
    grid->addWidget(channels_, 1, 4);
    grid->setColumnStretch(5, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(loginButton_);
    buttons->addWidget(quitButton_);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(hwBox);
    layout->addLayout(buttons);

    connect(serial_, &QCheckBox::toggled, this, &Tlogin::serialToggled);
    connect(usb_, &QCheckBox::toggled, this, &Tlogin::usbToggled);
    connect(loginButton_, &QPushButton::clicked, this, &Tlogin::logIn);
    connect(quitButton_, &QPushButton::clicked, this, &QDialog::reject);
    connect(user_, &QComboBox::activated, this, [this] { password_->setFocus(); });

    runAction(this, [this] { user_->addItems(Login(appDb()).userNames()); });
    user_->setCurrentText(QStringLiteral("admin"));
    showHardware({});
}

void Tlogin::serialToggled(bool on)
{
    for (QWidget* w : {static_cast<QWidget*>(portLabel_), static_cast<QWidget*>(port_),
                       static_cast<QWidget*>(typeLabel_), static_cast<QWidget*>(boxType_)})
        w->setVisible(on);
    if (on)
        usb_->setChecked(false);
}

void Tlogin::usbToggled(bool on)
{
    for (QWidget* w : {static_cast<QWidget*>(modelLabel_), static_cast<QWidget*>(model_),
                       static_cast<QWidget*>(channelsLabel_), static_cast<QWidget*>(channels_)})
        w->setVisible(on);
    if (on)
        serial_->setChecked(false);
}

void Tlogin::showHardware(const HardwareChoice& hw)
{
    serial_->setChecked(hw.serial);
    serialToggled(hw.serial);
    if (hw.serial) {
        port_->setCurrentText(hw.port);
        boxType_->setCurrentText(hw.boxType);
    }
    usb_->setChecked(hw.usbRecording);
    usbToggled(hw.usbRecording);
    if (hw.usbRecording) {
        model_->setCurrentText(hw.model);
        channels_->setCurrentText(hw.channels);
    }
}

HardwareChoice Tlogin::hardware() const
{
    HardwareChoice hw;
    hw.serial = serial_->isChecked();
    hw.port = port_->currentText();
    hw.boxType = boxType_->currentText();
    hw.usbRecording = usb_->isChecked();
    hw.model = model_->currentText();
    hw.channels = channels_->currentText();
    return hw;
}

void Tlogin::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    runAction(this, [this] { showHardware(Login(appDb()).storedHardware()); });
    if (const QScreen* s = screen(); s && s->geometry().width() == 800)
        Messages::instance().information(
            this, QStringLiteral("本软件推荐在1024*768或者更高分辨率下运行，否则可能会出现显示问题"));
    password_->setFocus();
}

void Tlogin::logIn()
{
    loginButton_->setEnabled(false);
    const LoginInput input{user_->currentText(), password_->text(), hardware()};
    const Outcome r = runAction(this, [&] { return Login(appDb()).login(input, programDir(), LoginValues::current()); });
    loginButton_->setEnabled(true);
    if (!r)
        return;
    setWindowTitle(QStringLiteral("成功创建主窗体"));
    emit loggedIn();
}

} // namespace ts
