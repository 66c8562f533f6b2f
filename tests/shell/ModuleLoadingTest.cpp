// The real Tessera.api loaded into the real host's tables.
#include <gtest/gtest.h>

#include "access/Host.h"
#include "app/ModuleLoader.h"
#include "support/TestHost.h"

namespace tessera {
namespace {

class ModuleLoadingTest : public testing::Test {
protected:
    bool Load(std::uint32_t hostVersion = host::kHandshakeVersion) {
        const std::optional<std::string> failure = loader.Load(TESSERA_MODULE_PATH, host.runtime.Core(), hostVersion);
        error = failure.value_or("");
        return !failure;
    }
    test::TestHost host;
    app::ModuleLoader loader;
    std::string error;
};

TEST_F(ModuleLoadingTest, InstallsThreeItemsWithOneTitleAndName) {
    ASSERT_TRUE(Load()) << error;
    std::vector<const app::MenuBar::Item*> items;
    for (const char* menu : {"Extensions", "UsingExtensions", "AboutExtensions"}) {
        const auto inMenu = host.viewer.Menus().Items(menu);
        ASSERT_EQ(inMenu.size(), 1u) << menu;
        items.push_back(inMenu[0]);
    }
    for (const auto* item : items) {
        EXPECT_EQ(item->name, "KORB:Tessera");
        EXPECT_EQ(item->title, "Split Document...");
    }
    EXPECT_FALSE(host.viewer.Menus().IsEnabled(*items[0])) << "no active document";
    host.OpenActive("multicolumn-latex-2col.pdf");
    EXPECT_TRUE(host.viewer.Menus().IsEnabled(*items[0]));
    EXPECT_FALSE(host.commandLine.Declared().empty()) << "the split dialog's fields are declared";
}

TEST_F(ModuleLoadingTest, HelpThatIsThereButCannotBeOpenedIsNotCalledMissing) {
    ASSERT_TRUE(Load()) << error;
    host.windows.openSucceeds = false;
    ASSERT_TRUE(host.viewer.Menus().Execute("UsingExtensions", "KORB:Tessera"));
    ASSERT_EQ(host.viewer.alerts.size(), 1u);
    EXPECT_NE(host.viewer.alerts[0].find("no program could open it"), std::string::npos) << host.viewer.alerts[0];
}

TEST_F(ModuleLoadingTest, RefusesAHostWithoutARequiredTableAtVersion5) {
    host.runtime.Core().Offer("PDSRead", 0x40005, &host);
    EXPECT_FALSE(Load());
    EXPECT_NE(error.find("handshake"), std::string::npos) << error;
    EXPECT_TRUE(host.viewer.Menus().Items("Extensions").empty());
}

TEST_F(ModuleLoadingTest, RefusesAnotherHandshakeVersion) {
    EXPECT_FALSE(Load(0x10000));
    EXPECT_TRUE(host.viewer.Menus().Items("Extensions").empty());
}

TEST_F(ModuleLoadingTest, LoadsWithoutTheOptionalTables) {
    for (const char* name : {"ASExtra", "AcroViewSweetPea", "PDMetadata"}) host.runtime.Core().Withdraw(name);
    EXPECT_TRUE(Load()) << error;
}

TEST(ImportHostTablesTest, OptionalSlotsStayEmptyAndLaterTablesAreNotImportedAfterAMissingOne) {
    test::TestHost host;
    host.runtime.Core().Withdraw("PDMetadata");
    ASSERT_TRUE(ImportHostTables(host.runtime.Core()));
    EXPECT_EQ(ImportedTables()[13].table, nullptr);
    EXPECT_EQ(ImportedTables()[13].version, 0u);
    EXPECT_EQ(ImportedTables()[0].version, 0x50000u);

    host.runtime.Core().Withdraw("AcroView");
    EXPECT_FALSE(ImportHostTables(host.runtime.Core()));
    EXPECT_EQ(ImportedTables()[10].table, nullptr) << "Win comes after the missing AcroView";
}

}  // namespace
}  // namespace tessera
