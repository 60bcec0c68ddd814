#include "grid/blendcolor.h"
#include "grid/gridcolors.h"
#include "grid/gridcore.h"
#include "platform/colors.h"

#include <gtest/gtest.h>

struct BlendCase {
    uint32_t first, second;
    int alpha;
    uint32_t expected;
};
void PrintTo(const BlendCase& c, std::ostream* os)
{
    *os << QStringLiteral("%1 over %2 at %3").arg(c.first, 6, 16, QChar('0')).arg(c.second, 6, 16, QChar('0')).arg(c.alpha).toStdString();
}

class BlendColorTest : public ::testing::TestWithParam<BlendCase> {};

TEST_P(BlendColorTest, MixesEachChannelByTheWeightOfTheFirstColour)
{
    const BlendCase& c = GetParam();
    EXPECT_EQ(grid::BlendColor(c.first, c.second, c.alpha), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, BlendColorTest,
                         ::testing::Values(BlendCase{0x3E280F, 0xE3C1AA, 180, 0x6F553D},
                                           BlendCase{0xFFFFFF, 0xE3C1AA, 130, 0xF1E1D5},
                                           BlendCase{0xFFFFFF, 0xD4D4D4, 170, 0xF1F1F1},
                                           BlendCase{0x000000, 0xD4D4D4, 60, 0xA2A2A2},
                                           BlendCase{0xFFFFFF, 0x000000, 128, 0x808080},
                                           BlendCase{0x000000, 0xFFFFFF, 128, 0x7F7F7F},
                                           BlendCase{0x123456, 0xABCDEF, 255, 0x123456},
                                           BlendCase{0x123456, 0xABCDEF, 0, 0xABCDEF},
                                           // out-of-range weights are held to 0..255
                                           BlendCase{0x123456, 0xABCDEF, 300, 0x123456},
                                           BlendCase{0x123456, 0xABCDEF, -5, 0xABCDEF}));

TEST(BlendColor, TranslatesSystemColoursBeforeMixing)
{
    const uint32_t face = grid::BlendColor(0x8000000F, 0x8000000F, 255);
    EXPECT_EQ(face & 0xFF000000u, 0u);
    EXPECT_EQ(face, platform::OleTranslateColor(0x8000000F));
}

TEST(GridColors, DefaultsAreTheDesignedValues)
{
    const grid::GridColors c = grid::GridCore().colors();
    EXPECT_EQ(c.BorderColor, 0xE3C1AAu);
    EXPECT_EQ(c.SelectedColor, 0xF1E1D5u);
    EXPECT_EQ(c.ScrollForeColor, 0xD4D4D4u);
    EXPECT_EQ(c.ScrollBackColor, 0xF1F1F1u);
    EXPECT_EQ(c.HeaderBorderColor, 0xA2A2A2u);
    EXPECT_EQ(c.HeaderBackColor, 0xD4D4D4u);
    EXPECT_EQ(c.SelectedRowColor, 0xD3DAE2u);
    EXPECT_EQ(grid::GridColors::BackColor, 0xC9D7E7u);
    EXPECT_EQ(grid::GridColors::CounterForeColor, grid::BlendColor(0x3E280F, 0xE3C1AA, 180));
}
