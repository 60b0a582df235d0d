// The run loop, its log lines and counters, and the eraser's element in "prefs.dat".
#include "classlib/base/Exceptions.h"
#include "engine/EraserFixture.h"
#include "engine/erasers/Eraser.h"
#include <gtest/gtest.h>
#include <stdexcept>

namespace {

// Counts its runs; can fail, stop the engine or count a file.
class TProbeEraser : public TEraser {
public:
    using TEraser::TEraser;
    int Runs = 0;
    bool Fail = false;
    bool Stop = false;
    void Erase() override {
        TEraser::Erase();
        ++Runs;
        ++Engine->FilesErased;
        if (Stop) Engine->Cancelled = true;
        if (Fail) throw std::runtime_error("broken");
    }
};

struct TRunLoop : testing::Test {
    TRecordingEngine Engine;
    TProbeEraser First{"First", "First Item"};
    TProbeEraser Second{"Second", "Second Item"};
    void SetUp() override {
        Engine.AddEraser(&First);
        Engine.AddEraser(&Second);
    }
};

} // namespace

TEST_F(TRunLoop, WritesTheLinesOfEnabledErasersOnlyAndCountsAfresh) {
    Engine.Execute();
    EXPECT_TRUE(Engine.Lines.empty());
    Second.Enabled = true;
    Engine.KeysErased = Engine.FilesErased = 7; // a previous run's counts
    Engine.BytesErased = 7;
    Engine.Execute();
    EXPECT_EQ(Engine.Lines,
              (std::vector<std::string>{"Erasing Second Item...", "Second Item Erased.", ""}));
    EXPECT_EQ(First.Runs, 0);
    EXPECT_EQ(Engine.KeysErased + Engine.BytesErased, 0);
    EXPECT_EQ(Engine.FilesErased, 1);
}

TEST_F(TRunLoop, AFailingEraserOrCollectEndsOnlyThatEraser) {
    First.Enabled = Second.Enabled = true;
    First.Fail = true;
    Second.OnCollect = [](TEraser*) { throw Exception("no such folder"); };
    Engine.Execute();
    EXPECT_EQ(Engine.Lines, (std::vector<std::string>{
                                "Erasing First Item...", "Erasing First Item failed.", "",
                                "Erasing Second Item...", "Erasing Second Item failed.", ""}));
    EXPECT_EQ(Engine.FilesErased, 1); // what the failed eraser counted stays
    EXPECT_EQ(Second.Runs, 0);
}

TEST_F(TRunLoop, AStopEndsTheRunAfterTheEmptyLine) {
    First.Enabled = Second.Enabled = true;
    First.Stop = true;
    Engine.Execute();
    EXPECT_EQ(Engine.Lines, (std::vector<std::string>{"Erasing First Item...", ""}));
    EXPECT_EQ(Second.Runs, 0);
    EXPECT_TRUE(Engine.Cancelled);
}

// The next eraser still starts; its loops see the flag and it writes no " Erased.".
TEST_F(TRunLoop, AStopWhileMessagesRunEndsTheRunWithTheNextEraser) {
    First.Enabled = Second.Enabled = true;
    Engine.CancelAtPump = 2;
    Engine.Execute();
    EXPECT_EQ(Engine.Lines, (std::vector<std::string>{"Erasing First Item...", "First Item Erased.",
                                                      "", "Erasing Second Item...", ""}));
}

// Looking for messages is dear under Wine: each run looks first thing (a stop waiting
// in the queue is met at once), then once the interval has passed.
TEST_F(TRunLoop, EachRunLooksForMessagesFirstThenOncePerInterval) {
    Engine.PumpInterval = 60'000;
    Engine.Execute();
    Engine.ProcessMessages();
    EXPECT_EQ(Engine.Pumps, 1);
    Engine.CancelAtPump = 2;
    Engine.Execute();
    EXPECT_TRUE(Engine.Cancelled);
    EXPECT_EQ(Engine.Pumps, 2);
}

TEST(TEraserCollect, ItemsRefillEachRunOrStayWithoutACollect) {
    TRecordingEngine engine;
    TProbeEraser fixed("Fixed"), collected("Collected");
    engine.AddEraser(&fixed);
    engine.AddEraser(&collected);
    fixed.Enabled = collected.Enabled = true;
    fixed.Items.push_back(TEraserItem{});
    int collects = 0;
    collected.OnCollect = [&](TEraser* sender) {
        ++collects;
        sender->Items.push_back(TEraserItem{});
    };
    engine.Execute();
    engine.Execute();
    EXPECT_EQ(fixed.Items.size(), 1u);
    EXPECT_EQ(collected.Items.size(), 1u);
    EXPECT_EQ(collects, 2);
}

TEST(TEraserXML, SavesNameAndEnabledAndReadsBooleansInEveryForm) {
    TXMLDocument doc;
    TXMLNode root = doc.CreateDocumentElement("Windows");
    TProbeEraser eraser("WinEraseRunHistory");
    eraser.Enabled = true;
    eraser.SaveToXML(root);
    const TXMLNode element = root.FindNode("WinEraseRunHistory");
    ASSERT_TRUE(element);
    EXPECT_EQ(element.AttributeNames(), (std::vector<std::string>{"Name", "Enabled"}));
    EXPECT_EQ(element.Attribute("Name"), "WinEraseRunHistory");
    EXPECT_EQ(element.Attribute("Enabled"), "True");

    for (const auto& [text, expected] : std::vector<std::pair<std::string, bool>>{
             {"false", false}, {"TRUE", true}, {"0", false}, {"-3", true}, {"FaLsE", false}}) {
        TXMLNode(element).SetAttribute("Enabled", text);
        eraser.Enabled = !expected;
        eraser.LoadFromXML(root);
        EXPECT_EQ(eraser.Enabled, expected) << text;
    }
    TXMLNode(element).SetAttribute("Enabled", "yes");
    EXPECT_THROW(eraser.LoadFromXML(root), EConvertError);
    eraser.Enabled = true;
    eraser.LoadFromXML(doc.CreateDocumentElement("Windows")); // no element: unchanged
    EXPECT_TRUE(eraser.Enabled);
}
