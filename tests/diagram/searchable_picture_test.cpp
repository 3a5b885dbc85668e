// `kzr40 draw` to SVG and PDF: every text of the shipped examples can be found in the picture, the
// SVG's as <text> elements (xmllint's XPath), the PDF's through pdftotext.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "diagram/diagram.h"
#include "platform/utf8_cp1252.h"
#include "tests/support/read_file.h"
#include "tests/support/run_host.h"

namespace fs = std::filesystem;

namespace {

std::string output_of(const std::string& command) {
    std::string out;
    if (FILE* pipe = ::popen(command.c_str(), "r")) {
        char buffer[4096];
        for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) out.append(buffer, n);
        const int status = ::pclose(pipe);
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) out = "FAILED: " + command;
    }
    return out;
}

// The titles, the rows' names and the free texts' lines a diagram draws, in UTF-8.
std::vector<std::string> drawn_texts(const fs::path& file) {
    const Diagram diagram = parse_diagram(test_support::read_file(file), file.string());
    std::vector<std::string> texts;
    for (const DiagramEntity& e : diagram.entities) {
        texts.push_back(cp1252_to_utf8(e.entity->entidade().view()));
        for (int i = 0; i < e.entity->atributos().Count(); ++i) texts.push_back(cp1252_to_utf8(e.entity->atributos().Text(i).view()));
    }
    for (const DiagramText& t : diagram.texts)
        for (std::size_t start = 0; start <= t.text.size();) {
            const std::size_t end = std::min(t.text.find_first_of("\r\n", start), t.text.size());
            if (end > start) texts.push_back(cp1252_to_utf8(std::string_view(t.text).substr(start, end - start)));
            start = end + 1;
        }
    return texts;
}

TEST(SearchablePictures, EveryTextOfBothExamplesIsFoundInTheSvgAndThePdf) {
    if (std::string(KZR40_XMLLINT).empty()) GTEST_SKIP() << "xmllint is not installed (Debian libxml2-utils)";
    const fs::path folder = fs::path(::testing::TempDir()) / "kzr40-searchable";
    fs::create_directories(folder);
    for (const char* name : {"vendas", "cliente"}) {
        const fs::path example = fs::path(KZR40_SOURCE_DIR) / "examples" / (std::string(name) + ".json");
        const std::vector<std::string> texts = drawn_texts(example);
        ASSERT_GE(texts.size(), 3u);
        const fs::path svg = folder / (std::string(name) + ".svg"), pdf = folder / (std::string(name) + ".pdf");
        ASSERT_EQ(run_host({"draw", example.string(), "-o", svg.string()}).status, 0);
        ASSERT_EQ(run_host({"draw", example.string(), "-o", pdf.string()}).status, 0);
        const std::string in_svg =
            output_of(std::string(KZR40_XMLLINT) + " --xpath '//*[local-name()=\"text\"]/text()' '" + svg.string() + "'");
        for (const std::string& text : texts) EXPECT_NE(in_svg.find(text), std::string::npos) << name << ".svg: " << text;
        // The PDF is cairo's, as before; its text was searchable already and stays so.
        if (std::string(KZR40_PDFTOTEXT).empty()) continue;
        const std::string in_pdf = output_of(std::string(KZR40_PDFTOTEXT) + " '" + pdf.string() + "' -");
        for (const std::string& text : texts) EXPECT_NE(in_pdf.find(text), std::string::npos) << name << ".pdf: " << text;
    }
}

}  // namespace
