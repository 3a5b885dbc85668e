#include "platform/printer.h"

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/string_list.h"
#include "platform/text_file.h"

namespace {

struct Lines final : LineSink {
    std::vector<std::string> lines;
    using LineSink::write_line;
    void write_line(std::span<const std::string_view> pieces) override {
        std::string& line = lines.emplace_back();
        for (std::string_view piece : pieces) line += piece;
    }
};

using Text = std::vector<std::string>;

TEST(Printer, SubstitutesVariablesAndEndsALineAtEachLineEnd) {
    Lines sink;
    Printer out(sink);
    out.print("procedure Criar$table$(Diretorio:string);\n  Criar$table$$ext$ {$$R *.DFM} $$\n\n"_tpl,
              {{"table", "CLIENTE"}, {"ext", ".DB"}});
    // A value is inserted as it is: neither its "$" nor its line end is read as template.
    out.print("'$title$'\n"_tpl, {{"title", "a$b$\nc"}});
    EXPECT_EQ(sink.lines, (Text{"procedure CriarCLIENTE(Diretorio:string);", "  CriarCLIENTE.DB {$R *.DFM} $", "",
                                "'a$b$\nc'"}));
}

TEST(Printer, RefusesUnknownVariablesUnbalancedDollarsAndUnfinishedLines) {
    // A template written as a `_tpl` literal is split when the code is compiled, and a malformed one
    // does not compile; text made at run time is split by Template::parse, which refuses the same faults.
    static_assert("a\n$b$ $$\n"_tpl.line_ends().size() == 2 && "a\n$b$ $$\n"_tpl.names().size() == 1);
    EXPECT_THROW(Template::parse("Criar$table;\n"), std::invalid_argument);
    EXPECT_THROW(Template::parse("Criar$table\n$;\n"), std::invalid_argument);
    EXPECT_THROW(Template::parse("Criar$table$;"), std::invalid_argument);
    EXPECT_THROW(Template::parse(std::string(Template::kMaxLines + 1, '\n')), std::invalid_argument);
    EXPECT_NO_THROW(Template::parse(""));

    Lines sink;
    Printer out(sink);
    EXPECT_THROW(out.print("Criar$tabel$;\n"_tpl, {{"table", "X"}}), std::invalid_argument);
    EXPECT_THROW(out.print(Template::parse("$a$ $b$\n"), {{"b", "X"}}), std::invalid_argument);
    EXPECT_TRUE(sink.lines.empty());
    // Variables may come in any order, and a template need not use them all.
    out.print(Template::parse("$b$ $a$ $b$\n"), {{"a", "1"}, {"b", "2"}, {"c", "3"}});
    EXPECT_EQ(sink.lines, (Text{"2 1 2"}));
}

TEST(Printer, ScopedVariablesReachEveryPrintUntilTheScopeEnds) {
    Lines sink;
    Printer out(sink);
    {
        Printer::WithVars table(out, {{"table", "CLIENTE"}, {"ext", ".DB"}});
        out.print("Criar$table$$ext$\n"_tpl);
        {
            // The inner scope hides the outer one's value; the call's own value hides both.
            Printer::WithVars inner(out, {{"table", "ITEM"}, {"a_long_name", "long"}});
            out.print("$table$$ext$ $a_long_name$\n"_tpl);
            out.print("$table$\n"_tpl, {{"table", "NOTA"}, {"other", "x"}});
        }
        out.print("$table$\n"_tpl, {{"other", "x"}});
        EXPECT_THROW(out.print("$a_long_name$\n"_tpl), std::invalid_argument);
        // Names sharing their first seven characters are told apart.
        Printer::WithVars similar(out, {{"a_long_other", "other"}});
        EXPECT_THROW(out.print("$a_long_name$\n"_tpl), std::invalid_argument);
    }
    EXPECT_THROW(out.print("$table$\n"_tpl), std::invalid_argument);
    EXPECT_EQ(sink.lines, (Text{"CriarCLIENTE.DB", "ITEM.DB long", "NOTA", "CLIENTE"}));
}

TEST(Printer, IndentsTheLinesOfItsScopesButNotEmptyOnes) {
    Lines sink;
    Printer out(sink);
    out.print("Begin\n"_tpl);
    {
        Printer::Indent body(out, 2);
        out.print("With FieldDefs do begin\n"_tpl);
        {
            Printer::Indent definitions(out, 2);
            out.print("Clear;\n\n$empty$\n$name$\n"_tpl, {{"empty", ""}, {"name", "Add"}});
        }
        out.print("End;\n"_tpl);
    }
    out.print("End;\n"_tpl);
    EXPECT_EQ(sink.lines, (Text{"Begin", "  With FieldDefs do begin", "    Clear;", "", "", "    Add", "  End;", "End;"}));
}

TEST(Printer, HostListSinkAddsEachLine) {
    StringList list;
    HostListSink sink(list);
    Printer out(sink);
    out.print(" \n\nEnd.  //CriarDBs\n"_tpl);
    ASSERT_EQ(list.Count(), 3);
    EXPECT_STREQ(list.Get(0), " ");
    EXPECT_STREQ(list.Get(1), "");
    EXPECT_STREQ(list.Get(2), "End.  //CriarDBs");
}

TEST(Printer, FileSinkEndsLinesWithCrLfAndKeepsWindows1252Bytes) {
    const std::filesystem::path path =
        std::filesystem::temp_directory_path() / ("kzr40_printer_test_" + std::to_string(::getpid()) + ".pas");
    {
        TextFileWriter file(path.string());
        Printer out(file);
        Printer::Indent indent(out, 2);
        out.print("// $caption$\n\n"_tpl, {{"caption", "Manuten\xE7\xE3o da tabela"}});
        file.Close();
    }
    std::ifstream in(path, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    in.close();
    std::filesystem::remove(path);
    EXPECT_EQ(bytes, "  // Manuten\xE7\xE3o da tabela\r\n\r\n");
}

}  // namespace
