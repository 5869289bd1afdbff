// The places file is read whole or not at all, and a query finds names as people type them.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "places/places.h"

namespace {

// A file of two places, one named beyond ASCII.
const std::string kFile =
    "# two places\n"
    "f\tø\to\nf\tã\ta\n"
    "r\tTroms og Finnmark\nr\tSão Paulo\n"
    "c\tNorway\nc\tBrazil\n"
    "z\tEurope/Oslo\nz\tAmerica/Sao_Paulo\n"
    "p\tSão Paulo\t1\t1\t1\t-23.5475\t-46.63611\t10021295\tsao paulo\n"
    "p\tTromsø\t0\t0\t0\t69.6489\t18.95508\t52436\ttromso\n";

struct Broken {
    const char* name;
    std::string text;
};

class ABrokenFile : public testing::TestWithParam<Broken> {};

TEST_P(ABrokenFile, IsNoPlaces) { EXPECT_FALSE(places::Gazetteer::Read(GetParam().text)); }

std::string Replaced(std::string text, const std::string& what, const std::string& with) {
    return text.replace(text.find(what), what.size(), with);
}

INSTANTIATE_TEST_SUITE_P(
    Places, ABrokenFile,
    testing::Values(Broken{"Empty", ""}, Broken{"NoPlace", "c\tNorway\n"},
                    Broken{"UnknownTag", kFile + "x\tsomething\n"},
                    Broken{"RegionBeyondTheList", Replaced(kFile, "\t0\t0\t0\t", "\t2\t0\t0\t")},
                    Broken{"NotDegrees", Replaced(kFile, "69.6489", "69.64.89")},
                    Broken{"PopulationNotANumber", Replaced(kFile, "52436", "52k")},
                    Broken{"CutShort", kFile.substr(0, kFile.size() - 20)}),
    [](const testing::TestParamInfo<Broken>& info) { return info.param.name; });

TEST(Places, AreFoundByTheBeginningsOfTheirWordsAccentsAside) {
    const auto read = places::Gazetteer::Read(kFile);
    ASSERT_TRUE(read);
    for (const char* query : {"Tromsø", "tromso", "TROMS", "troms, nor", "tr, troms og"}) {
        const places::Found found = read->Find(query);
        ASSERT_EQ(found.count, 1u) << query;
        EXPECT_EQ(found.first[0].name, "Tromsø") << query;
        EXPECT_EQ(found.first[0].timeZone, "Europe/Oslo") << query;
        EXPECT_EQ(found.first[0].latitude, 69.6489) << query;
    }
    for (const char* query : {"paulo", "Sao Paulo", "s", "são p, brazil"}) {
        EXPECT_EQ(read->Find(query).first.at(0).name, "São Paulo") << query;
    }
    EXPECT_EQ(read->Find("o").count, 0u);  // no word begins with it
    EXPECT_EQ(read->Find("troms, brazil").count, 0u);
    EXPECT_EQ(read->Find(" , ").count, 0u);
    EXPECT_EQ(places::PlaceWords(read->Find("sao").first[0]), "São Paulo, Brazil");
}

TEST(Places, TheNearestNamesAreThoseALetterOrTwoAway) {
    std::ifstream file(DAYLIGHT_PLACES_FILE, std::ios::binary);
    const auto real =
        places::Gazetteer::Read(std::string(std::istreambuf_iterator<char>(file), {}));
    ASSERT_TRUE(real);
    EXPECT_GT(real->size(), 20000u);
    for (const auto& [typed, meant] : {std::pair{"Olso", "Oslo"},
                                       {"Tromos", "Tromsø"},
                                       {"Stokholm", "Stockholm"},
                                       {"Reyjkavik", "Reykjavik"}}) {
        EXPECT_EQ(real->Find(typed).count, 0u) << typed;
        const std::vector<std::string> nearest = real->Nearest(typed);
        ASSERT_FALSE(nearest.empty()) << typed;
        EXPECT_EQ(nearest.front(), meant) << typed;
    }
    EXPECT_TRUE(real->Nearest("xyzzyq").empty());
    EXPECT_TRUE(real->Nearest(std::string(100, 'a')).empty());
}

}  // namespace
