// The prompts seam: filter conversion for the file dialogs and the scripted stand-in's
// answers when its script runs dry.
#include <gtest/gtest.h>

#include "app/Prompts.h"

namespace tallyon {
namespace {

struct FilterCase {
    const char* name;
    const char* pairs;
    const char* qt;
};
const FilterCase kFilters[] = {
    {"DescriptionsThatNameTheirPatternsGetABlankBeforeTheBracket",
     "Tallyon document(*.tyq)|*.tyq|All files(*.*)|*.*",
     "Tallyon document (*.tyq);;All files (*.*)"},
    {"DescriptionWithoutPatternsTakesThemFromThePair", "Text|*.txt;*.text", "Text (*.txt *.text)"},
    {"DanglingDescriptionIsDropped", "Text file(*.txt)|*.txt|Orphan", "Text file (*.txt)"},
};

class FilterTest : public testing::TestWithParam<FilterCase> {};

TEST_P(FilterTest, BecomesQtFilter) {
    EXPECT_EQ(Prompts::qtFilter(QString::fromUtf8(GetParam().pairs)),
              QString::fromUtf8(GetParam().qt));
}

INSTANTIATE_TEST_SUITE_P(Filters, FilterTest, testing::ValuesIn(kFilters),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ScriptedPromptsTest, AnswersInOrderThenDismissesAndRestoresThePrevious) {
    Prompts* before = &Prompts::current();
    {
        ScriptedPrompts script;
        EXPECT_EQ(&Prompts::current(), &script);
        script.answers = {PromptButton::No};
        const auto ync = PromptButton::Yes | PromptButton::No | PromptButton::Cancel;
        EXPECT_EQ(script.ask(nullptr, "t", "first", ync, PromptIcon::Warning), PromptButton::No);
        EXPECT_EQ(script.ask(nullptr, "t", "second", ync, PromptIcon::Warning),
                  PromptButton::Cancel)
            << "a dry script cancels when it may";
        EXPECT_EQ(script.ask(nullptr, "t", "third", PromptButton::Yes | PromptButton::No,
                             PromptIcon::Question),
                  PromptButton::No);
        EXPECT_EQ(script.chooseSaveFile(nullptr, {"Save - Tallyon", "", "TYQ", ""}), "");
        script.tell(nullptr, "t", "oops", PromptIcon::Error);
        EXPECT_EQ(script.messages(), QStringList{"oops"});
        ASSERT_EQ(script.asked.size(), 5u);
        EXPECT_EQ(script.asked[3].kind, ScriptedPrompts::Kind::SaveFile);
        EXPECT_EQ(script.asked[3].title, "Save - Tallyon");
    }
    EXPECT_EQ(&Prompts::current(), before);
}

}  // namespace
}  // namespace tallyon
