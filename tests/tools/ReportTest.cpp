// How the probe prints: aligned text for people, valid JSON for scripts.
#include <gtest/gtest.h>

#include "Report.h"

TEST(ProbeReport, TextTablesAlignColumnsAndRightAlignNumbers)
{
    Report report;
    Table &table = report.AddTable("Phase Vapor", {"quantity", "value"});
    table.AddRow({Cell::Text("phase fraction"), Cell::Number(0.5)});
    table.AddRow({Cell::Text(L"x methane"), Cell::Number(12345.5)});
    table.AddRow({Cell::Text("\xC3\xA9t\xC3\xA9")});  // multi-byte text counts by characters
    EXPECT_EQ("Phase Vapor\n"
              "  quantity        value\n"
              "  --------------  -------\n"
              "  phase fraction      0.5\n"
              "  x methane       12345.5\n"
              "  \xC3\xA9t\xC3\xA9\n",
              RenderText(report));
}

TEST(ProbeReport, JsonKeepsFullPrecisionAndEscapesText)
{
    Report report;
    Table &table = report.AddTable("Check of \"A//B\"", {"call", "time"});
    table.AddRow({Cell::Text("line\nbreak\\tab\t\x01"), Cell::Number(0.1 + 0.2)});
    EXPECT_EQ("{\"tables\":[\n"
              " {\"title\":\"Check of \\\"A//B\\\"\",\"columns\":[\"call\",\"time\"],\"rows\":[\n"
              "  {\"call\":\"line\\nbreak\\\\tab\\t\\u0001\",\"time\":0.30000000000000004}]}\n"
              "]}\n",
              RenderJson(report));
}
