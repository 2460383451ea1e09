#include "words/word_line.h"

#include <gtest/gtest.h>

namespace {

TEST(WordLine, SplitsAtTheFirstPairOfBlanks) {
    struct Case {
        const char* line;
        const char* word;  // nullptr: no word line
        const char* gloss;
    };
    const Case cases[] = {
        {"went  v.go的过去式", "went", "v.go的过去式"},
        {"ice cream  n.冰淇淋", "ice cream", "n.冰淇淋"},
        {"a   b  c", "a", "b  c"},
        {"word  n.词\r\n", "word", "n.词"},
        {" lead    n.铅 ", "lead", "n.铅"},
        {"noblanks n.x", nullptr, nullptr},
        {"", nullptr, nullptr},
        {"  n.only gloss", nullptr, nullptr},
        {"word  ", nullptr, nullptr},
    };
    for (const auto& c : cases) {
        const auto parsed = words::parseWordLine(QString::fromUtf8(c.line));
        if (c.word == nullptr) {
            EXPECT_FALSE(parsed) << c.line;
        } else {
            ASSERT_TRUE(parsed) << c.line;
            EXPECT_EQ(parsed->word, QString::fromUtf8(c.word));
            EXPECT_EQ(parsed->gloss, QString::fromUtf8(c.gloss));
        }
    }
}

}  // namespace
