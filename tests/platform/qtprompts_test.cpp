#include "platform/commondialog.h"
#include "platform/qtprompts.h"

#include <QApplication>
#include <QInputDialog>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>

namespace {

// Acts on the next modal dialog as soon as it shows, so that no test waits on one.
class ModalHandler {
public:
    explicit ModalHandler(std::function<void(QWidget*)> act)
    {
        QObject::connect(&timer_, &QTimer::timeout, [this, act] {
            if (QWidget* w = QApplication::activeModalWidget()) {
                timer_.stop();
                act(w);
            }
        });
        timer_.start(10);
    }

private:
    QTimer timer_;
};

struct SeenBox {
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
    QMessageBox::StandardButtons buttons;
};

SeenBox look(QWidget* w)
{
    SeenBox seen;
    if (auto* box = qobject_cast<QMessageBox*>(w)) {
        seen.title = box->windowTitle();
        seen.text = box->text();
        seen.icon = box->icon();
        seen.buttons = box->standardButtons();
        if (box->defaultButton())
            seen.defaultButton = box->standardButton(box->defaultButton());
    }
    return seen;
}

} // namespace

TEST(QtPrompts, SaveChangesBoxHasThreeButtonsWithCancelAsDefault)
{
    platform::QtPrompts prompts;
    SeenBox seen;
    ModalHandler handler([&seen](QWidget* w) {
        seen = look(w);
        qobject_cast<QMessageBox*>(w)->button(QMessageBox::No)->click();
    });
    EXPECT_EQ(prompts.MsgBox(QStringLiteral("Save Changes?"), 547, QStringLiteral("Items Group")),
              platform::Answer::No);
    EXPECT_EQ(seen.title, QStringLiteral("Items Group"));
    EXPECT_EQ(seen.text, QStringLiteral("Save Changes?"));
    EXPECT_EQ(seen.icon, QMessageBox::Question);
    EXPECT_EQ(seen.buttons, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    EXPECT_EQ(seen.defaultButton, QMessageBox::Cancel);
}

TEST(QtPrompts, UntitledBoxCarriesTheProgramTitleAndEscapeGivesNo)
{
    platform::QtPrompts prompts;
    SeenBox seen;
    ModalHandler handler([&seen](QWidget* w) {
        seen = look(w);
        QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(w, &escape);
    });
    EXPECT_EQ(prompts.MsgBox(QStringLiteral("Delete?"), 276), platform::Answer::No);
    EXPECT_EQ(seen.title, QStringLiteral("Quorvane"));
    EXPECT_EQ(seen.icon, QMessageBox::Critical);
    EXPECT_EQ(seen.defaultButton, QMessageBox::No);
}

TEST(QtPrompts, CancelledInputBoxGivesEmptyText)
{
    platform::QtPrompts prompts;
    QString title;
    ModalHandler handler([&title](QWidget* w) {
        title = w->windowTitle();
        qobject_cast<QDialog*>(w)->reject();
    });
    EXPECT_EQ(prompts.InputBox(QStringLiteral("Password:"), QString(), QStringLiteral("abc")), QString());
    EXPECT_EQ(title, QStringLiteral("Quorvane"));
}

TEST(QtPrompts, AcceptedInputBoxGivesItsText)
{
    platform::QtPrompts prompts;
    ModalHandler handler([](QWidget* w) {
        auto* input = qobject_cast<QInputDialog*>(w);
        input->setTextValue(QStringLiteral("Ana"));
        input->accept();
    });
    EXPECT_EQ(prompts.InputBox(QStringLiteral("Name:"), QStringLiteral("Login")), QStringLiteral("Ana"));
}
