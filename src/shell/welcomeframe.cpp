#include "shell/welcomeframe.h"

#include "platform/keys.h"
#include "shell/storabletext.h"

#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace shell {

WelcomeFrame::WelcomeFrame(QWidget* parent) : QFrame(parent)
{
    setObjectName(QStringLiteral("Welcome"));
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, QColor(246, 243, 234));
    setPalette(p);
    setFrameShape(QFrame::NoFrame);

    auto* title = new QLabel(QStringLiteral("Welcome to Quorvane"), this);
    QFont titleFont = title->font();
    titleFont.setPointSize(18);
    titleFont.setBold(true);
    title->setFont(titleFont);
    auto* intro = new QLabel(QStringLiteral("Please enter your company's details. They appear on every "
                                            "invoice and payment you print."),
                             this);
    intro->setWordWrap(true);

    m_fields = new QGridLayout;
    m_fields->setHorizontalSpacing(12);
    m_fields->setVerticalSpacing(6);
    CompanyName = addField(QStringLiteral("CompanyName"), QStringLiteral("Company name"), 0);
    CompanyAddress = addField(QStringLiteral("CompanyAddress"), QStringLiteral("Address"), 1);
    CompanyCity = addField(QStringLiteral("CompanyCity"), QStringLiteral("City"), 2);
    CompanyZip = addField(QStringLiteral("CompanyZip"), QStringLiteral("Zip code"), 3);
    CompanyEMail = addField(QStringLiteral("CompanyEMail"), QStringLiteral("E-mail"), 4);
    CompanyFax = addField(QStringLiteral("CompanyFax"), QStringLiteral("Fax"), 5);
    CompanyPhone = addField(QStringLiteral("CompanyPhone"), QStringLiteral("Phone"), 6);

    Command3 = new QPushButton(QStringLiteral("Enter"), this);
    Command3->setObjectName(QStringLiteral("Command3"));
    Command4 = new QPushButton(QStringLiteral("Exit"), this);
    Command4->setObjectName(QStringLiteral("Command4"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Command3);
    buttons->addWidget(Command4);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(40, 24, 40, 24);
    layout->addWidget(title);
    layout->addWidget(intro);
    layout->addSpacing(8);
    layout->addLayout(m_fields);
    layout->addStretch();
    layout->addLayout(buttons);
}

QLineEdit* WelcomeFrame::addField(const QString& name, const QString& caption, int row)
{
    auto* edit = new QLineEdit(this);
    edit->setObjectName(name);
    edit->installEventFilter(this);
    refuseUnstorableCharacters(edit);
    auto* label = new QLabel(caption, this);
    label->setBuddy(edit);
    m_fields->addWidget(label, row, 0);
    m_fields->addWidget(edit, row, 1);
    return edit;
}

QList<QLineEdit*> WelcomeFrame::companyFields() const
{
    return {CompanyName, CompanyAddress, CompanyCity, CompanyZip, CompanyEMail, CompanyFax, CompanyPhone};
}

QString WelcomeFrame::missingMessage(int index)
{
    static const QStringList messages = {
        QStringLiteral("Please enter your Company Name"),    QStringLiteral("Please enter your Company Address"),
        QStringLiteral("Please enter your Company City"),    QStringLiteral("Please enter your Company Zip Code"),
        QStringLiteral("Please enter your Company E-Mail"), QStringLiteral("Please enter your Company Fax"),
        QStringLiteral("Please enter your Company Phone"),
    };
    return messages.value(index);
}

bool WelcomeFrame::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return QFrame::eventFilter(watched, event);
    const int code = platform::keyCode(static_cast<QKeyEvent*>(event)->key());
    if (code != platform::Key::Enter && code != platform::Key::Down)
        return false;
    const QList<QLineEdit*> fields = companyFields();
    const qsizetype at = fields.indexOf(static_cast<QLineEdit*>(watched));
    if (at < 0)
        return false;
    if (at + 1 < fields.size())
        fields[at + 1]->setFocus();
    else
        Command3->setFocus();
    return true;
}

} // namespace shell
