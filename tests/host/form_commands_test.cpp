#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <iterator>
#include <fstream>
#include <sstream>

#include "platform/formfile/binary.h"
#include "platform/formfile/reader_limits.h"
#include "platform/formfile/text.h"
#include "tests/support/run_host.h"
#include "tests/support/read_file.h"

namespace fs = std::filesystem;

namespace {

class FormCommands : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("kzr40-formcmd-" + std::to_string(getpid()));
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::string path(const std::string& name) const { return (dir_ / name).string(); }
    void put(const std::string& name, const std::string& content) const {
        std::ofstream(path(name), std::ios::binary) << content;
    }
    std::string get(const std::string& name) const { return test_support::read_file(path(name)); }

    fs::path dir_;
};

const char* const kText =
    "object F_CLIENTE: TF_CLIENTE\r\n"
    "  Caption = 'Manuten'#231#227'o da tabela CLIENTE (Cliente)'\r\n"
    "  Items.Strings = (\r\n"
    "    'a')\r\n"
    "end\r\n";

TEST_F(FormCommands, ConvertBothWaysThroughFilesAndStandardOutput) {
    put("in.txt", kText);
    HostRun run = run_host({"txt2dfm", path("in.txt"), "-o", path("out.dfm")});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "");
    const std::string dfm = get("out.dfm");
    EXPECT_EQ(dfm, formfile::write_form_file(formfile::read_text(kText)));
    EXPECT_EQ(dfm.substr(3, 11), std::string("TF_CLIENTE\0", 11));

    run = run_host({"dfm2txt", path("out.dfm")});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, kText);

    run = run_host({"dfm2txt", path("out.dfm"), "--lf", "-o", path("back.txt")});
    ASSERT_EQ(run.status, 0) << run.err;
    std::string lf = kText;
    for (std::size_t at; (at = lf.find('\r')) != std::string::npos;) lf.erase(at, 1);
    EXPECT_EQ(get("back.txt"), lf);

    run = run_host({"txt2dfm", path("back.txt"), "--bare"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, formfile::write_stream(formfile::read_text(kText)));
    // A bare stream converts back to text as well.
    put("bare.bin", run.out);
    EXPECT_EQ(run_host({"dfm2txt", path("bare.bin")}).out, kText);
}

TEST_F(FormCommands, ErrorsNameTheFileAndThePositionAndLeaveNoOutput) {
    put("bad.txt", "object F: TF\r\n  Caption = 'open\r\nend\r\n");
    HostRun run = run_host({"txt2dfm", path("bad.txt"), "-o", path("out.dfm")});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "kzr40: error: " + path("bad.txt") + ": line 2: unterminated string\n");
    EXPECT_FALSE(fs::exists(path("out.dfm")));

    put("bad.dfm", std::string("TPF0\x02TF\x01" "F\x01P\x0C\xFF\xFF\xFF\x7F", 17));
    run = run_host({"dfm2txt", path("bad.dfm"), "-o", path("out.txt")});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find(path("bad.dfm") + ": byte offset 12: "), std::string::npos) << run.err;
    EXPECT_FALSE(fs::exists(path("out.txt")));

    put("text.txt", kText);
    run = run_host({"dfm2txt", path("text.txt")});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("not a binary form file"), std::string::npos) << run.err;

    // An existing output stays as it was when the conversion fails.
    put("keep.dfm", "previous");
    run = run_host({"txt2dfm", path("bad.txt"), "-o", path("keep.dfm")});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(get("keep.dfm"), "previous");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 4) << "no temporary file left";

    run = run_host({"dfm2txt", path("missing.dfm")});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find(path("missing.dfm") + ": cannot read"), std::string::npos) << run.err;
}

TEST_F(FormCommands, AFormWithoutATextFormPrintsNothing) {
    // 100,000 bytes of text first (more than goes out in one piece), then an Extended NaN.
    formfile::ObjectNode root;
    root.class_name = "TF";
    root.properties.push_back({"Long", formfile::Value::string_value(std::string(100000, 'a'))});
    root.properties.push_back({"NaN", formfile::Value::extended_of({0, 0, 0, 0, 0, 0, 0, 0xC0, 0xFF, 0x7F})});
    put("nan.dfm", formfile::write_form_file(root));
    const HostRun run = run_host({"dfm2txt", path("nan.dfm")});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find("not a finite number"), std::string::npos) << run.err;
}

TEST_F(FormCommands, InputsOverTheSizeLimitAreRefusedBeforeTheyAreRead) {
    // A sparse file: refused by its size, without reading it.
    put("huge.dfm", "");
    fs::resize_file(path("huge.dfm"), formfile::kMaxFormFileSize + 1);
    HostRun run = run_host({"dfm2txt", path("huge.dfm"), "-o", path("out.txt")});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find(path("huge.dfm") + ": 67108865 bytes, more than the 67108864 (64 MiB)"), std::string::npos)
        << run.err;
    EXPECT_FALSE(fs::exists(path("out.txt")));
    // An endless device: reading stops at the limit.
    run = run_host({"txt2dfm", "/dev/zero"});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("/dev/zero: more than the 67108864 bytes"), std::string::npos) << run.err;
}

TEST_F(FormCommands, MessagesShowControlBytesEscaped) {
    // A property name holding an escape sequence, with its value cut short.
    put("escape.dfm", std::string("TPF0\x02TF\x01" "F\x04P\x1B[2\x06\x09x", 17));
    const HostRun run = run_host({"dfm2txt", path("escape.dfm")});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("'P#27[2'"), std::string::npos) << run.err;
    EXPECT_EQ(run.err.find('\x1B'), std::string::npos);
}

TEST_F(FormCommands, HelpDescribesEachCommand) {
    for (const char* command : {"dfm2txt", "txt2dfm"}) {
        const HostRun run = run_host({command, "--help"});
        EXPECT_EQ(run.status, 0);
        EXPECT_NE(run.out.find("-o,--output"), std::string::npos) << command;
        EXPECT_NE(run.out.find("IN"), std::string::npos) << command;
    }
}

}  // namespace
