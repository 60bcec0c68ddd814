#pragma once
// The start-up window's welcome frame: it covers the window on a first run (or whenever no
// company name is stored) and asks for the user's own company details. Its text boxes are
// the window's own, apart from the settings store's fields of the same names; Enter or Down
// in one of them moves on to the next, and from the last to the "Enter" button.

#include <QFrame>
#include <QList>
#include <QString>

class QGridLayout;
class QLineEdit;
class QPushButton;

namespace shell {

class WelcomeFrame : public QFrame {
    Q_OBJECT
public:
    explicit WelcomeFrame(QWidget* parent);

    QLineEdit* CompanyName;
    QLineEdit* CompanyAddress;
    QLineEdit* CompanyCity;
    QLineEdit* CompanyZip;
    QLineEdit* CompanyEMail;
    QLineEdit* CompanyFax;
    QLineEdit* CompanyPhone;
    QPushButton* Command3; // "Enter"
    QPushButton* Command4; // "Exit"

    // The seven text boxes in the order they are filled and checked.
    QList<QLineEdit*> companyFields() const;
    // The message for a text box left empty.
    static QString missingMessage(int index);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLineEdit* addField(const QString& name, const QString& caption, int row);

    QGridLayout* m_fields = nullptr;
};

} // namespace shell
