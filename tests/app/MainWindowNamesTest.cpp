#include "app/MainForm.h"
#include <gtest/gtest.h>
#include <memory>
#include <set>

namespace {

// Every component the owner owns, at any depth, has a name, and no two of one owner
// share theirs: FindComponent and the skin find controls by them.
void ExpectNamedOnce(const TComponent& owner, const std::string& path, int& count) {
    std::set<std::string> names;
    for (int i = 0; i < owner.ComponentCount(); ++i) {
        const TComponent* component = owner.Components(i);
        const std::string& name = component->Name();
        EXPECT_FALSE(name.empty()) << path << " owns an unnamed " << component->ClassName();
        EXPECT_TRUE(names.insert(name).second) << path << " owns two named " << name;
        ++count;
        ExpectNamedOnce(*component, path + "." + name, count);
    }
}

TEST(MainWindowNames, EveryComponentHasANameUniqueInItsOwner) {
    auto form = std::make_unique<TfMain>(nullptr);
    int count = 0;
    ExpectNamedOnce(*form, form->Name(), count);
    EXPECT_GT(count, 100); // the pages' controls are walked too
}

} // namespace
