#include <gtest/gtest.h>

#include "tests/support/run_host.h"

namespace {

TEST(CommandNames, AMistypedCommandIsAUsageErrorThatSuggestsTheNearestOne) {
    struct Case {
        const char* typed;
        const char* message;
    };
    for (const Case& c : {Case{"sqll", "unknown command 'sqll'; did you mean 'sql'?"},
                          Case{"genrate", "did you mean 'generate'?"},
                          Case{"tables2", "did you mean 'tables'?"},
                          Case{"lyaout", "did you mean 'layout'?"},  // two neighbours swapped
                          Case{"gen", "did you mean 'generate'?"},   // the only command it begins
                          Case{"xyzzy", "unknown command 'xyzzy'; 'kzr40 --help' lists the commands"},
                          Case{"d", "'kzr40 --help' lists the commands"}}) {  // draw, dfm2txt: no guess
        const HostRun run = run_host({c.typed, "examples/vendas.json"});
        EXPECT_EQ(run.status, 2) << c.typed;
        EXPECT_EQ(run.out, "") << c.typed;
        EXPECT_NE(run.err.find(c.message), std::string::npos) << c.typed << ": " << run.err;
    }
    const HostRun none = run_host({});
    EXPECT_EQ(none.status, 2);
    EXPECT_EQ(none.err, "kzr40: error: no command given; 'kzr40 --help' lists the commands\n");
}

TEST(CommandNames, HelpShowsWhatTheHelpOptionShows) {
    EXPECT_EQ(run_host({"help"}).out, run_host({"--help"}).out);
    const HostRun sql = run_host({"help", "sql"});
    EXPECT_EQ(sql.status, 0);
    EXPECT_EQ(sql.out, run_host({"sql", "--help"}).out);
    EXPECT_NE(sql.out.find("--kind"), std::string::npos);
    const HostRun unknown = run_host({"help", "sqll"});
    EXPECT_EQ(unknown.status, 2);
    EXPECT_NE(unknown.err.find("did you mean 'sql'?"), std::string::npos) << unknown.err;
}

}  // namespace
