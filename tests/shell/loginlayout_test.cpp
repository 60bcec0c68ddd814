// The login prompt's layout at the start-up window's fonts: the request is whole, no control
// covers another, and none lies over the picture of the window's background.

#include "programfixture.h"
#include "shell/shellpictures.h"
#include "support/controlfit.h"

using namespace shelltest;

namespace {

class LoginLayoutTest : public ProgramTest {};

TEST_F(LoginLayoutTest, TheRequestIsWholeAndClearOfThePicturesAndOfTheOtherControls)
{
    writeSettings(QStringLiteral("Kos"), QStringLiteral("abc"));
    startProgram();
    waitForProbe();
    shell::frmMain& window = main();
    ASSERT_TRUE(window.txtpassword->isVisible());
    const QList<QWidget*> controls{window.lblPlease, window.txtpassword, window.OKSecurity, window.CancelSecurity,
                                   window.ImageKey};
    for (QWidget* control : controls)
        EXPECT_TRUE(control->isVisible()) << control->objectName().toStdString();
    EXPECT_EQ(testsupport::cutCaptions(controls), QStringList());
    EXPECT_EQ(testsupport::overlappingControls(controls), QStringList());
    EXPECT_EQ(testsupport::controlsOutside(controls, window.rect()), QStringList());
    EXPECT_EQ(testsupport::controlsInside(controls, shell::ShellPictures::backgroundPictureArea(window.rect())),
              QStringList());
}

} // namespace
