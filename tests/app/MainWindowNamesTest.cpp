#include "app/MainForm.h"
#include "app/pages/BrowsersPage.h"
#include "app/pages/MainPage.h"
#include "app/pages/MemoryPanel.h"
#include "app/pages/WindowsPage.h"
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

// The window's parts that no visible control reaches: the hidden second switches
// between the item pages still switch, the hidden "Rapid Erase" buttons do nothing, and
// the icon menu, attached to nothing, has only its optimizer item bound.
TEST(MainWindowNames, HiddenSwitchesAndTheIconMenu) {
    auto form = std::make_unique<TfMain>(nullptr);
    auto windows = form->Page<TWindowsPage>();
    auto browsers = form->Page<TBrowsersPage>();
    EXPECT_EQ(windows->Button3->Caption(), "Intenet Browsers");
    EXPECT_FALSE(windows->Button3->Visible());
    windows->Button3->Click();
    EXPECT_EQ(form->pagMain->ActivePage(), form->Sheet("TabSheet2"));
    EXPECT_FALSE(browsers->Button2->Visible());
    browsers->Button2->Click();
    EXPECT_EQ(form->pagMain->ActivePage(), form->Sheet("TabSheet1"));

    int rapid = 0;
    for (int i = 0; i < form->Page<TMainPage>()->ComponentCount(); ++i)
        if (auto b = dynamic_cast<TButton*>(form->Page<TMainPage>()->Components(i));
            b && b->Caption() == "Rapid Erase") {
            ++rapid;
            EXPECT_FALSE(b->Visible());
            EXPECT_FALSE(b->OnClick);
        }
    EXPECT_EQ(rapid, 3);

    auto menu = dynamic_cast<TPopupMenu*>(form->FindComponent("PopupMenuIcon"));
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(menu->Items().Count(), 3);
    EXPECT_EQ(menu->Items().Items(0)->Caption(), "Open &Main Window");
    EXPECT_EQ(menu->Items().Items(1)->Caption(), "&Optimize");
    EXPECT_EQ(menu->Items().Items(2)->Caption(), "E&xit");
    EXPECT_FALSE(menu->Items().Items(0)->OnClick);
    EXPECT_FALSE(menu->Items().Items(2)->OnClick);
    EXPECT_TRUE(menu->Items().Items(1)->OnClick);
}

} // namespace
