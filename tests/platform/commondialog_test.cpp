#include "platform/commondialog.h"
#include "platform/msgboxstyle.h"

#include <gtest/gtest.h>

TEST(CommonDialog, FilterPairsBecomeQtNameFilters)
{
    platform::CommonDialog d;
    d.Filter = QStringLiteral("Items Group|*.QVI|Excel Workbook|*.xls;*.xlsx|");
    EXPECT_EQ(d.qtNameFilters(), (QStringList{QStringLiteral("Items Group (*.QVI)"),
                                              QStringLiteral("Excel Workbook (*.xls *.xlsx)")}));
    d.Filter = QString();
    EXPECT_TRUE(d.qtNameFilters().isEmpty());
    d.Filter = QStringLiteral("Lonely description");
    EXPECT_TRUE(d.qtNameFilters().isEmpty());
}

TEST(MsgBoxStyle, StyleNumbersGiveButtonsIconAndDefault)
{
    using platform::Answer;
    using Icon = platform::MsgBoxStyle::Icon;
    const struct {
        int style;
        QList<Answer> buttons;
        Icon icon;
        Answer defaultButton;
        Answer escape;
    } cases[] = {
        {0, {Answer::OK}, Icon::None, Answer::OK, Answer::OK},
        {4, {Answer::Yes, Answer::No}, Icon::None, Answer::Yes, Answer::No},
        {5, {Answer::Retry, Answer::Cancel}, Icon::None, Answer::Retry, Answer::Cancel},
        {16, {Answer::OK}, Icon::Critical, Answer::OK, Answer::OK},
        {64, {Answer::OK}, Icon::Information, Answer::OK, Answer::OK},
        {276, {Answer::Yes, Answer::No}, Icon::Critical, Answer::No, Answer::No},
        {292, {Answer::Yes, Answer::No}, Icon::Question, Answer::No, Answer::No},
        {547, {Answer::Yes, Answer::No, Answer::Cancel}, Icon::Question, Answer::Cancel, Answer::Cancel},
    };
    for (const auto& c : cases) {
        const auto s = platform::MsgBoxStyle::fromStyle(c.style);
        EXPECT_EQ(s.buttons, c.buttons) << c.style;
        EXPECT_EQ(s.icon, c.icon) << c.style;
        EXPECT_EQ(s.defaultButton, c.defaultButton) << c.style;
        EXPECT_EQ(s.escapeAnswer, c.escape) << c.style;
    }
}
