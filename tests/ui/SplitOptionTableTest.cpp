#include "ui/SplitOptionTable.h"

#include <gtest/gtest.h>

namespace tessera {
namespace {

// Options in command-line order, and the start of the error they give ("" for none).
struct OptionsCase {
    std::vector<host::OptionValue> options;
    const char* error;
};

std::string Apply(const std::vector<host::OptionValue>& options, SplitSettings& settings) {
    DialogFields fields{settings, {}, {}, {}};
    for (const host::OptionValue& option : options)
        if (const std::optional<std::string> refused = ApplySplitOption(option, fields)) return *refused;
    return "";
}

TEST(SplitOptionTableTest, MeaninglessOrConflictingValuesAreRefusedInOneLine) {
    const OptionsCase cases[] = {
        {{{"equal", "5"}, {"bookmarks", "1"}}, "--bookmarks: cannot be combined with --equal"},
        {{{"doc", "1"}, {"separator", "blank"}}, "--separator: cannot be combined with --doc"},
        {{{"doc", "1"}, {"doc", "2"}, {"separator", "scan"}}, "--separator: cannot be combined with --doc"},
        {{{"equal", "0"}}, "--equal: expected a whole number from 1 up at \"0\""},
        {{{"equal", "99999999999"}}, "--equal: \"99999999999\" is too large"},
        {{{"bookmarks", "1-99999999999"}}, "--bookmarks: \"99999999999\" in \"1-99999999999\" is too large"},
        {{{"area", "100,10,50,20"}}, "--area: the right edge is left of the left edge"},
        {{{"name-area", "0,50,10,20"}}, "--name-area: the bottom edge is above the top edge"},
        {{{"area", "0,0,0,0"}, {"equal", "2"}, {"equal", "3"}}, ""},
        {{{"watermark", "Entwurf ✓"}}, "--watermark: \"✓\" cannot be drawn"},
        {{{"watermark-transparency", "101"}}, "--watermark-transparency: the transparency goes from 0 to 100"},
    };
    for (const OptionsCase& c : cases) {
        SplitSettings settings;
        const std::string error = Apply(c.options, settings);
        EXPECT_EQ(error.substr(0, std::string(c.error).size()), c.error) << error;
        EXPECT_EQ(error.find('\n'), std::string::npos) << error;
    }
}

TEST(SplitOptionTableTest, BookmarkLevelsAreTakenInOrder) {
    SplitSettings settings;
    ASSERT_EQ(Apply({{"bookmarks", "5-1"}}, settings), "");
    EXPECT_EQ(settings.SplitMode, SplitMethod::BookmarkLevels);
    EXPECT_EQ(settings.Output.StartBookmarkLevel, 1);
    EXPECT_EQ(settings.Output.EndBookmarkLevel, 5);
}

}  // namespace
}  // namespace tessera
