#include "datafiles/linefield.h"
#include "datafiles/linefilereader.h"
#include "datafiles/linefilewriter.h"
#include "datafiles/scramble.h"
#include "platform/safefile.h"
#include "platform/vb.h"
#include "support/tempprogramfolder.h"
#include "writerspy.h"

#include <QFile>
#include "support/qtprinters.h"

#include <gtest/gtest.h>

using namespace datafiles;
using datafilestest::WriterSpy;
using testsupport::TempProgramFolder;

namespace {

QByteArray contentOf(const QString& path)
{
    QByteArray bytes;
    platform::readWholeFile(path, bytes);
    return bytes;
}

bool firstLineNumeric(const QStringList& lines)
{
    const auto key = LineFileReader::line(lines, 1);
    return key && platform::vb::IsNumeric(*key);
}

} // namespace

TEST(Scramble, TogglesTheTopBitOfEveryByte)
{
    EXPECT_EQ(scrambled("abc"), QByteArray::fromHex("E1E2E3"));
    EXPECT_EQ(scrambled(QByteArray::fromHex("E1E2E3")), "abc");
    EXPECT_EQ(scrambled("\r\n"), QByteArray::fromHex("8D8A"));
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(char(b));
    EXPECT_EQ(scrambled(scrambled(all)), all);
}

TEST(Scramble, ScrambleFileTogglesInPlaceAndLeavesAReadOnlyFileAlone)
{
    TempProgramFolder program;
    const QString file = program.writeFile("a.dat", "abc");
    EXPECT_TRUE(ScrambleFile(file));
    EXPECT_EQ(contentOf(file), QByteArray::fromHex("E1E2E3"));
    EXPECT_TRUE(ScrambleFile(file));
    EXPECT_EQ(contentOf(file), "abc");

    QFile::setPermissions(file, QFileDevice::ReadOwner);
    EXPECT_FALSE(ScrambleFile(file));
    EXPECT_EQ(contentOf(file), "abc");
    EXPECT_FALSE(ScrambleFile(program.filePath("missing.dat")));
}

TEST(LineFileWriter, WritesWindows1250LinesWithCrLfScrambled)
{
    LineFileWriter withLastEnd(LastLineEnd::Written);
    withLastEnd.add(QStringLiteral("Šoštanj"));
    withLastEnd.add(optionText(true));
    withLastEnd.add(optionText(false));
    withLastEnd.add(QString::number(1));
    withLastEnd.add(QStringLiteral("€ ☺"));
    EXPECT_EQ(withLastEnd.plainBytes(),
              QByteArray("\x8A" "o\x9A" "tanj\r\nTrue\r\nFalse\r\n1\r\n\x80 ?\r\n"));
    EXPECT_EQ(withLastEnd.scrambledBytes(), scrambled(withLastEnd.plainBytes()));

    LineFileWriter withoutLastEnd(LastLineEnd::Omitted);
    withoutLastEnd.add("1");
    withoutLastEnd.add("2");
    EXPECT_EQ(withoutLastEnd.plainBytes(), "1\r\n2");
}

TEST(LineFileReader, SplitsLinesAsATextReaderDoes)
{
    EXPECT_EQ(LineFileReader::linesOf("a\r\nb\r\n"), QStringList({"a", "b"}));
    EXPECT_EQ(LineFileReader::linesOf("a\r\n\r\nb"), QStringList({"a", "", "b"}));
    EXPECT_EQ(LineFileReader::linesOf("a\nb"), QStringList({"a", "b"}));
    EXPECT_EQ(LineFileReader::linesOf(""), QStringList());
    EXPECT_EQ(LineFileReader::linesOf("\x8A"), QStringList({QStringLiteral("Š")}));
}

TEST(LineFileReader, ReadsAScrambledFileWithoutChangingIt)
{
    TempProgramFolder program;
    const QByteArray stored = scrambled("7\r\nsecond\r\n");
    const QString file = program.writeFile("h.dat", stored);
    WriterSpy spy;
    const auto reading = LineFileReader::read(file, firstLineNumeric);
    EXPECT_EQ(reading.status, LineFileReader::Status::Accepted);
    EXPECT_EQ(reading.lines, QStringList({"7", "second"}));
    EXPECT_FALSE(reading.foundPlain);
    EXPECT_TRUE(spy.writes.isEmpty());
    EXPECT_EQ(contentOf(file), stored);
}

TEST(LineFileReader, APlainFileIsReadAndWrittenBackScrambled)
{
    TempProgramFolder program;
    const QString file = program.writeFile("h.dat", "7\r\nsecond");
    const auto reading = LineFileReader::read(file, firstLineNumeric);
    EXPECT_EQ(reading.status, LineFileReader::Status::Accepted);
    EXPECT_TRUE(reading.foundPlain);
    EXPECT_EQ(reading.lines, QStringList({"7", "second"}));
    EXPECT_EQ(contentOf(file), scrambled("7\r\nsecond"));
}

TEST(LineFileReader, AFileWhoseKeyFailsInBothStatesIsLeftAsFound)
{
    TempProgramFolder program;
    const QByteArray stored = "not a number\r\n7\r\n";
    const QString file = program.writeFile("h.dat", stored);
    WriterSpy spy;
    const auto reading = LineFileReader::read(file, firstLineNumeric);
    EXPECT_EQ(reading.status, LineFileReader::Status::Rejected);
    EXPECT_TRUE(reading.lines.isEmpty());
    EXPECT_TRUE(spy.writes.isEmpty());
    EXPECT_EQ(contentOf(file), stored);
}

TEST(LineFileReader, APlainFileIsRefusedWhereTheFormAllowsOnlyTheScrambledState)
{
    TempProgramFolder program;
    const QString file = program.writeFile("h.dat", "7\r\n");
    const auto reading =
        LineFileReader::read(file, firstLineNumeric, LineFileReader::PlainFiles::Refused);
    EXPECT_EQ(reading.status, LineFileReader::Status::Rejected);
    EXPECT_EQ(contentOf(file), "7\r\n");
}

TEST(LineFileReader, MissingAndUnreadableFiles)
{
    TempProgramFolder program;
    EXPECT_EQ(LineFileReader::read(program.filePath("none.dat"), firstLineNumeric).status,
              LineFileReader::Status::Missing);
    const QString folder = program.makeFolder("folder.dat");
    const auto reading = LineFileReader::read(folder, firstLineNumeric);
    EXPECT_EQ(reading.status, LineFileReader::Status::Unreadable);
    EXPECT_TRUE(reading.error.contains(folder));
}

TEST(LineField, OptionAndCheckConversions)
{
    struct OptionCase {
        QString line;
        std::optional<bool> selected;
    };
    const OptionCase options[] = {
        {"True", true}, {"true", true}, {"TRUE", true}, {"-1", true}, {"1", true},
        {"False", false}, {"false", false}, {"0", false},
        {"", std::nullopt}, {"Yes", std::nullopt},
    };
    for (const OptionCase& c : options)
        EXPECT_EQ(parseOption(c.line), c.selected) << c.line.toStdString();

    struct CheckCase {
        QString line;
        std::optional<int> value;
    };
    const CheckCase checks[] = {
        {"0", 0}, {"1", 1}, {" 1 ", std::nullopt}, {"True", std::nullopt}, {"5", std::nullopt}, {"", std::nullopt},
    };
    for (const CheckCase& c : checks)
        EXPECT_EQ(parseCheck(c.line), c.value) << c.line.toStdString();
    EXPECT_EQ(optionText(true), "True");
    EXPECT_EQ(optionText(false), "False");
}

// A switch line is taken only as this program writes it, and a counter only as a whole number
// from 0 of at most 15 digits: a line taken as whole by a looser reading would switch a host's
// password off (" 0", "-0", "0.4"), on ("0.6"), or count an invoice on from below 0 ("-5"),
// with nobody having set it so. Every other form is damaged.
TEST(LineField, SwitchAndCounterLinesAreTakenOnlyInTheFormsWritten)
{
    const struct {
        const char* line;
        std::optional<int> value;
    } switches[] = {
        {"0", 0}, {"1", 1},
        {" 0", std::nullopt}, {"0 ", std::nullopt}, {"-0", std::nullopt}, {"+1", std::nullopt},
        {"0.4", std::nullopt}, {"0.6", std::nullopt}, {"1.0", std::nullopt}, {"01", std::nullopt},
        {"1E+0", std::nullopt}, {"2", std::nullopt}, {"-1", std::nullopt}, {"True", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& c : switches)
        EXPECT_EQ(parseCheck(QString::fromLatin1(c.line)), c.value) << "switch \"" << c.line << '"';

    const struct {
        const char* line;
        const char* value; // nullptr: damaged
    } counters[] = {
        {"0", "0"}, {"41", "41"}, {"999999999999999", "999999999999999"},
        {"-5", nullptr}, {"-1", nullptr}, {"-0.5", nullptr}, {"41.5", nullptr}, {"1E+50", nullptr},
        {"1000000000000000", nullptr}, {"abc", nullptr}, {"", nullptr},
    };
    for (const auto& c : counters) {
        const auto count = parseCount(QString::fromLatin1(c.line));
        EXPECT_EQ(count ? std::optional<QString>(count->text()) : std::nullopt,
                  c.value ? std::optional<QString>(QString::fromLatin1(c.value)) : std::nullopt)
            << "counter \"" << c.line << '"';
    }
}
