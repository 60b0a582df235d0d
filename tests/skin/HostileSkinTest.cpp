// Hostile skin packages through the real reader: huge name lists, huge inis, many
// sections, one large picture named again and again, no ini. Each is refused with one
// message, or loads within the caps; the bytes allocated while loading are counted.
#include "SkinTestSupport.h"
#include "SolidSkin.h"
#include "classlib/gui/Application.h"
#include "classlib/gui/Form.h"
#include "skin/QuickIni.h"
#include "skin/SkinData.h"
#include "skin/SkinForm.h"
#include "skin/SkinManage.h"
#include "support/PumpMessages.h"
#include <atomic>
#include <cstdlib>
#include <gtest/gtest.h>
#include <malloc.h>
#include <memory>
#include <new>
#include <random>

namespace {

std::atomic<bool> Counting{false};
std::atomic<int64_t> Allocated{0};

void* Allocate(size_t size) {
    void* p = std::malloc(size ? size : 1);
    if (!p) throw std::bad_alloc();
    if (Counting) Allocated += static_cast<int64_t>(_msize(p));
    return p;
}

// Bytes allocated with new while a job runs: every allocation counts, freed or not.
template <class Job> int64_t AllocatedBy(Job job) {
    Allocated = 0;
    Counting = true;
    job();
    Counting = false;
    return Allocated;
}

constexpr int64_t MiB = 1 << 20;

// Loads a package into fresh skin data, counting the messages it shows.
class THostileLoad {
public:
    THostileLoad() {
        TSkinData::ShowSkinMessage = [this](const std::string& text) {
            ++Messages;
            LastMessage = text;
        };
    }
    ~THostileLoad() { TSkinData::ShowSkinMessage = FSaved; }
    THostileLoad(const THostileLoad&) = delete;
    THostileLoad& operator=(const THostileLoad&) = delete;

    bool Load(std::string package) {
        bool loaded = false;
        Bytes = AllocatedBy([&] { loaded = Data.LoadSkinPackage(std::move(package)); });
        return loaded;
    }

    TSkinData Data{nullptr};
    int Messages = 0;
    std::string LastMessage;
    int64_t Bytes = 0;

private:
    std::function<void(const std::string&)> FSaved = TSkinData::ShowSkinMessage;
};

std::string Repeated(const std::string& unit, size_t totalSize) {
    std::string text;
    text.reserve(totalSize + unit.size());
    while (text.size() < totalSize)
        text += unit;
    return text;
}

std::string CaptionSections(int count, const std::string& picture) {
    std::string ini;
    for (int i = 0; i < count; ++i)
        ini += "[Button" + std::to_string(i) +
               "]\r\nAction=0\r\nAlign=1\r\nXcoord=20\r\n"
               "frame=4\r\nButtonImage=" +
               picture + "\r\n";
    return ini;
}

} // namespace

void* operator new(size_t size) {
    return Allocate(size);
}
void* operator new[](size_t size) {
    return Allocate(size);
}
void* operator new(size_t size, const std::nothrow_t&) noexcept {
    return std::malloc(size ? size : 1);
}
void* operator new[](size_t size, const std::nothrow_t&) noexcept {
    return std::malloc(size ? size : 1);
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete[](void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, size_t) noexcept {
    std::free(p);
}
void operator delete[](void* p, size_t) noexcept {
    std::free(p);
}
void operator delete(void* p, const std::nothrow_t&) noexcept {
    std::free(p);
}
void operator delete[](void* p, const std::nothrow_t&) noexcept {
    std::free(p);
}

// Refused with one message, each before it is copied whole or decoded.
TEST(HostileSkin, HostilePackagesAreRefusedWithOneMessageAndLittleWork) {
    const TSkinMembers solidMembers = solid::Members();
    const std::string large = MakeBmpOf(2048, 2048, [](int, int) { return 0x336699u; });
    const struct {
        const char* Name;
        std::string Package;
        int64_t MostBytes;   // 0: not counted
        const char* Message; // nullptr: any
    } cases[] = {
        // Counted up to the member cap, never split into strings.
        {"12 million names", Package(std::string(12 * MiB, '\n'), {}, ""), MiB, SkinDamagedText},
        // Refused by its size, never split into lines.
        {"a 12 MiB ini", PackageOf({{"z.ini", Repeated("a=1\r\n", 12 * MiB)}}), MiB, nullptr},
        {"5000 sections", PackageOf({{"z.ini", CaptionSections(5000, "b.bmp")}}), 0, nullptr},
        // Two hundred buttons naming one picture as large as the whole budget: no member
        // is copied out of the package.
        {"a large picture named 200 times",
         PackageOf({{"z.ini", CaptionSections(200, "Large.bmp")}, {"large.bmp", large}}), 2 * MiB,
         nullptr},
        {"no ini", PackageOf({solidMembers.begin(), solidMembers.end()}), 0, nullptr},
    };
    for (const auto& hostile : cases) {
        THostileLoad load;
        EXPECT_FALSE(load.Load(hostile.Package)) << hostile.Name;
        EXPECT_EQ(load.Messages, 1) << hostile.Name;
        EXPECT_FALSE(load.Data.SkinReady()) << hostile.Name;
        if (hostile.MostBytes) {
            EXPECT_LT(load.Bytes, hostile.MostBytes) << hostile.Name;
        }
        if (hostile.Message) {
            EXPECT_EQ(load.LastMessage, hostile.Message) << hostile.Name;
        }
    }
}

// At the caps a package loads with its work bounded.
TEST(HostileSkin, PackagesAtTheCapsLoadWithinTheirBudgets) {
    // The most lines an ini may hold.
    THostileLoad lines;
    EXPECT_TRUE(lines.Load(PackageOf({{"z.ini", Repeated("a\n", TQuickIni::MaxTextSize)}})));
    EXPECT_EQ(lines.Messages, 0);
    EXPECT_LT(lines.Bytes, 32 * MiB);

    // As many caption buttons as sections may be, each asked for its nine keys.
    THostileLoad most;
    ASSERT_TRUE(most.Load(PackageOf({{"z.ini", CaptionSections(TQuickIni::MaxSections, "b.bmp")},
                                     {"b.bmp", MakeBmp(16, 14, {0xFF0000})}})));
    EXPECT_EQ(most.Data.Elements().SysButtons.size(), TQuickIni::MaxSections + 3);
    EXPECT_LT(most.Bytes, 8 * MiB);

    // Pictures are decoded once and held within the pixel budget.
    const std::string large = MakeBmpOf(2048, 2048, [](int, int) { return 0x336699u; });
    THostileLoad once;
    ASSERT_TRUE(
        once.Load(PackageOf({{"z.ini", CaptionSections(1, "large.bmp")}, {"large.bmp", large}})));
    EXPECT_EQ(once.Data.Elements().SysButtons[0]->Bitmap.Width(), 2048);
    THostileLoad small;
    ASSERT_TRUE(small.Load(PackageOf({{"z.ini", CaptionSections(200, "small.bmp")},
                                      {"small.bmp", MakeBmp(64, 64, {0x336699})}})));
    int64_t pixels = 0;
    for (const auto& button : small.Data.Elements().SysButtons)
        pixels += int64_t(button->Bitmap.Width()) * button->Bitmap.Height();
    EXPECT_EQ(pixels, 200 * 64 * 64);
}

TEST(HostileSkin, SectionsAreIndexedOnce) {
    TQuickIni ini;
    ASSERT_TRUE(ini.LoadFromStream("[Personality]\nTop=first\n[PERSONALITY]\nTop=second\n"));
    EXPECT_EQ(ini.ReadString("personality", "top", ""), "first"); // the first of a name wins
    EXPECT_EQ(ini.ReadSections(), (std::vector<std::string>{"Personality", "PERSONALITY"}));
    EXPECT_FALSE(ini.LoadFromStream(CaptionSections(TQuickIni::MaxSections + 1, "b.bmp")));
    EXPECT_EQ(ini.FindSection("Button0"), -1); // nothing of a refused text is kept
}

TEST(HostileSkin, WithoutAFrameWindowsKeepTheirNativeFrame) {
    TSkinMembers solidMembers = solid::Members();
    std::vector<std::pair<std::string, std::string>> bitmaps(solidMembers.begin(),
                                                             solidMembers.end());
    std::mt19937 random(1107);
    std::string garbage(4000, '\0');
    for (char& c : garbage)
        c = static_cast<char>(1 + random() % 255);
    bitmaps.emplace_back("z.ini", garbage);
    THostileLoad garbled;
    EXPECT_TRUE(garbled.Load(PackageOf(bitmaps)));
    EXPECT_EQ(garbled.Messages, 0);
    EXPECT_FALSE(garbled.Data.HasFrame());

    // Borders without a close button are no whole frame either.
    struct TManagerGuard {
        ~TManagerGuard() { FreeSkinManager(); }
    } guard;
    TSkinData data(Application);
    std::string ini = solid::Ini();
    ini.replace(ini.find("Action=0"), 8, "Action=5");
    ASSERT_TRUE(data.LoadSkinParts(ini, solid::Members()));
    EXPECT_FALSE(data.HasFrame());
    data.SetActive(true);
    data.Loaded();
    TForm form(Application);
    form.SetBounds(10, 10, 240, 120);
    form.Show();
    TSkinForm* skinned = nullptr;
    ASSERT_TRUE(PumpUntil([&] {
        skinned = SkinManager()->FindSkinForm(form.Handle());
        return skinned && skinned->Activated();
    }));
    EXPECT_FALSE(skinned->FrameSkinned());
    EXPECT_EQ(GetWindowLongPtrW(form.Handle(), GWL_STYLE) & WS_CAPTION, WS_CAPTION);
    TGdiObject region(CreateRectRgn(0, 0, 0, 0));
    EXPECT_EQ(GetWindowRgn(form.Handle(), static_cast<HRGN>(region.Get())), ERROR);
}
