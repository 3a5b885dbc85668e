#include <gtest/gtest.h>

#include "tests/support/run_host.h"

namespace {

TEST(CatalogCommand, PrintsEveryListOfThePlugin) {
    const HostRun run = run_host({"catalog"});
    ASSERT_EQ(run.status, 0) << run.err;
    for (const char* expected : {"Plug-in KZR40, source kind: Delphi 5", "0  Programa Delphi 5: 0 Paradox, 1 dBase\n",
                                 "1  Script SQL: 0 Paradox, 1 dBase, 2 Oracle\n",
                                 "    8  BCD            no     yes       NUMERIC    yes    yes\n", "   19  ParadoxOle",
                                 "    1  String         yes    no        CHARACTER  yes    no\n", "   10  TDBImage\n"}) {
        EXPECT_NE(run.out.find(expected), std::string::npos) << expected << "\n" << run.out;
    }
}

TEST(CatalogCommand, HelpAndUsageErrors) {
    const HostRun help = run_host({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("catalog"), std::string::npos);
    const HostRun sub_help = run_host({"catalog", "--help"});
    EXPECT_EQ(sub_help.status, 0);
    EXPECT_NE(sub_help.out.find("field types"), std::string::npos);
    const HostRun none = run_host({});
    EXPECT_NE(none.status, 0);
    const HostRun unknown = run_host({"nonsense"});
    EXPECT_NE(unknown.status, 0);
}

}  // namespace
