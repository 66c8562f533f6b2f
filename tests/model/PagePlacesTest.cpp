// The table of where pages went answers as the search of the output list
// does, for outputs that overlap, skip pages, step by two and run backwards.
#include <random>

#include "model/PagePlaces.h"

namespace tessera {
namespace {

TEST(PagePlacesTest, AnswersAsTheSearchOfTheOutputListForEveryPage) {
    std::mt19937 random(11);
    const PageRangeFlags kinds[] = {{}, PageRangeFlag::OddPages, PageRangeFlag::EvenPages, PageRangeFlag::ReverseOrder};
    for (int list = 0; list < 50; ++list) {
        const std::int32_t pages = 1 + static_cast<std::int32_t>(random() % 60);
        OutputList outputs(1 + random() % 6);
        for (OutputDocument& output : outputs)
            for (std::size_t r = random() % 4; r > 0; --r)
                output.Ranges.push_back(MakePlannedRange(static_cast<std::int32_t>(random() % (pages + 5)),
                                                         1 + static_cast<std::int32_t>(random() % 20),
                                                         kinds[random() % 4]));
        const PagePlaces places(outputs, pages);
        for (std::int32_t page = -2; page < pages + 8; ++page) {
            const PageLocation want = FindOutputForPage(outputs, page), got = places.Find(page);
            EXPECT_EQ(std::tie(got.found, got.output, got.position), std::tie(want.found, want.output, want.position))
                << "list " << list << " page " << page;
        }
    }
}

}  // namespace
}  // namespace tessera
