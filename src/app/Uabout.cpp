#include "app/Uabout.h"

#include "app/app_context.h"
#include "session/login_values.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFormLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

namespace ts {

namespace {
QLabel* valueLabel(const QString& name, const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}
} // namespace

Tabout::Tabout(const LoginValues& login, QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("Tabout"));
    setWindowTitle(QStringLiteral("关于...."));

    auto* layout = new QVBoxLayout(this);

    // A reseller replaces the picture with his own; without one the box
    // still tells whom to call.
    const QPixmap picture(QDir(programDir()).filePath(QStringLiteral("about.jpg")));
    if (!picture.isNull()) {
        auto* pictureLabel = new QLabel(this);
        pictureLabel->setObjectName(QStringLiteral("about.jpg"));
        pictureLabel->setPixmap(picture);
        layout->addWidget(pictureLabel);
    }

    auto* brand = valueLabel(QStringLiteral("公司全称"), login.companyFullName, this);
    QFont big = brand->font();
    big.setBold(true);
    brand->setFont(big);
    layout->addWidget(brand);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("电话："), valueLabel(QStringLiteral("电话"), login.servicePhone, this));
    form->addRow(QStringLiteral("QQ："), valueLabel(QStringLiteral("QQ"), login.serviceQQ, this));
    form->addRow(QStringLiteral("EMAIL："), valueLabel(QStringLiteral("EMAIL"), login.serviceEmail, this));

    // The web address is a link: clicking it opens the maker's site.
    auto* site = new QLabel(this);
    site->setObjectName(QStringLiteral("网站"));
    const QUrl url = QUrl::fromUserInput(login.website);
    site->setText(QStringLiteral("<a href=\"%1\">%2</a>")
                      .arg(url.toString(QUrl::FullyEncoded).toHtmlEscaped(), login.website.toHtmlEscaped()));
    site->setTextFormat(Qt::RichText);
    site->setOpenExternalLinks(true);
    form->addRow(QStringLiteral("网站："), site);
    layout->addLayout(form);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(QStringLiteral("确定"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("确定"));
    ok->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);
}

} // namespace ts
