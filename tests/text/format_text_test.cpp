// Formatted text as the clipboard carries it: runs survive the trip, and
// damaged bytes are refused whole.
#include "text/format_text.h"
#include "text_support.h"

#include <QByteArray>
#include <gtest/gtest.h>

using namespace mirel;
using mirel::test::Cells;
using mirel::test::Text;

namespace {

std::vector<FormatRun> SampleRuns()
{
    FormatRun plain;
    plain.cells = Cells("公文 abc");
    FormatRun bold = plain;
    bold.cells = std::string("\r\0", 2) + Cells("第二段");
    bold.attrs.weight = 700;
    bold.attrs.sizeCode = -4;
    bold.para.alignment = 1;
    bold.para.firstLineIndent = -35;
    FormatRun command = plain;
    command.cells = Cells("选");
    command.attrs.autoCommand = "MENU(a|b)";
    command.attrs.color = 0xFF;
    return { plain, bold, command };
}

TEST(FormatText, RunsSurviveTheTrip)
{
    const std::vector<FormatRun> runs = SampleRuns();
    std::vector<FormatRun> back;
    ASSERT_TRUE(ReadFormatText(WriteFormatText(runs), back));
    ASSERT_EQ(back.size(), runs.size());
    for (size_t i = 0; i < runs.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(Text(back[i].cells), Text(runs[i].cells));
        EXPECT_TRUE(back[i].attrs.SameFormat(runs[i].attrs));
    }
    // The paragraph's attributes travel with the run that opens it.
    EXPECT_EQ(back[1].para, runs[1].para);
}

TEST(FormatText, DamagedBytesAreRefusedWhole)
{
    const std::string good = WriteFormatText(SampleRuns());
    std::vector<FormatRun> runs;
    // Cut anywhere: refused, or read as far as it holds together; never a
    // crash (the sanitizers run these tests too).
    for (size_t n = 0; n < good.size(); ++n) {
        const bool ok = ReadFormatText(std::string_view(good).substr(0, n), runs);
        if (!ok) {
            EXPECT_TRUE(runs.empty()) << n;
        }
    }
    // A later row pointing back at an object of an earlier row (found by
    // fuzzing: the earlier row was freed while the stream still knew it).
    const QByteArray backReference = QByteArray::fromBase64(
        "AgD//9AHCABDVGV4dFJvdwAAAABgMAAAligAAAAAAAAAAAEA///QBwkAQ1NlbnRlbmNlAAAAAAAAAAAAAAAAAAAAAAAADLmrzsQg"
        "AGEAYgBjAAGAAAAAAAAAAAAAAAAAAAAAAAIA///QBwsAQ0F0dHJpYl9JbnQjAN3///8GgA4AAQAAAAIAAAACAP//0AcLAENBdHRy"
        "aWJfSW50IwDd////BoAOAAEAAAACAAOAAAA=");
    EXPECT_FALSE(ReadFormatText(std::string_view(backReference.constData(), backReference.size()), runs));
    EXPECT_TRUE(runs.empty());
}

} // namespace
