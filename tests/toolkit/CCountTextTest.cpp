#include "editor/toolkit/CCountText.h"

#include <gtest/gtest.h>

#include <QHash>

namespace {

TextLookup Language(const QString& singularCounts) {
    QHash<QString, QString> texts = {
        {"Caption_PluralOne", singularCounts},
        {"Caption_Players", "%1 player|%1 players"},
        {"Caption_Plain", "%1 items"},
    };
    return [texts](const QString& key) { return texts.value(key, key); };
}

} // namespace

TEST(CCountText, EachLanguageTakesTheSingularForItsOwnCounts) {
    const TextLookup english = Language("1");
    EXPECT_EQ(CCountText::Of(english, "Caption_Players", 1), "1 player");
    EXPECT_EQ(CCountText::Of(english, "Caption_Players", 0), "0 players");
    EXPECT_EQ(CCountText::Of(english, "Caption_Players", 21), "21 players");
    const TextLookup french = Language("0 1");
    EXPECT_EQ(CCountText::Of(french, "Caption_Players", 0), "0 player");
    EXPECT_EQ(CCountText::Of(french, "Caption_Players", 1), "1 player");
    EXPECT_EQ(CCountText::Of(french, "Caption_Players", 2), "2 players");
    EXPECT_EQ(CCountText::Of(french, "Caption_Players", -1), "-1 players");
}

TEST(CCountText, TextsWithoutFormsOrRulesStillRead) {
    // One form only: the text as it is, count filled in.
    EXPECT_EQ(CCountText::Of(Language("1"), "Caption_Plain", 1), "1 items");
    // No rule in the file (an older file, or rubbish): English's.
    EXPECT_EQ(CCountText::Choose("a|b", "", 1), "a");
    EXPECT_EQ(CCountText::Choose("a|b", "one", 1), "a");
    EXPECT_EQ(CCountText::Choose("a|b", "one", 2), "b");
    // Everything after the first bar is the plural, bars and all.
    EXPECT_EQ(CCountText::Choose("a|b|c", "1", 3), "b|c");
    EXPECT_EQ(CCountText::Choose("|", "1", 1), "");
}
