// The object stream beyond the asset files: every published property kind, child components
// created by class name, the loaded notification and a write/read round trip.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "engine/assets/ObjectReader.h"
#include "engine/assets/ObjectWriter.h"
#include "tests/engine/assets/AssetBytes.h"

namespace {

class TTestPart : public TComponent {
public:
    int Interval = 0;
    bool Enabled = false;
    double Speed = 0;
    int Mode = 0;
    std::uint64_t Options = 0;
    TColor Color = 0;
    int LoadedCalls = 0;

    std::string ClassName() const override { return "TTestPart"; }
    void DefineProperties(TPropertyList& list) override {
        TComponent::DefineProperties(list);
        list.Boolean("Enabled", Enabled);
        list.Integer("Interval", Interval);
        list.Float("Speed", Speed);
        list.Enumeration("Mode", {"mdOff", "mdOn", "mdAuto"}, Mode);
        list.Set("Options", {"doAllowReboot", "doWaitVBlank", "doFullScreen"}, Options);
        list.Color("Color", Color);
    }
    void Loaded() override { ++LoadedCalls; }
};

class TTestForm : public TComponent {
public:
    std::string Caption;
    int LoadedCalls = 0;
    std::string ClassName() const override { return "TTestForm"; }
    void DefineProperties(TPropertyList& list) override {
        TComponent::DefineProperties(list);
        list.String("Caption", Caption);
    }
    void Loaded() override { ++LoadedCalls; }
};

const bool Registered = [] {
    RegisterClass("TTestPart", [] { return std::make_unique<TTestPart>(); });
    return true;
}();

Bytes FormStream(const Bytes& children) {
    Bytes b;
    b.Text("TPF0").Short("TTestForm").Short("Form1").Str("Caption", "Zarvoth Mutador 1.0").U8(0);
    return b.Raw(children).U8(0);
}

void Read(TComponent& root, const Bytes& bytes) {
    TMemoryStream s(bytes.Data);
    ReadComponent(s, root);
}

// Reads into the form a stream whose one child is a TTestPart with these property records.
void ReadPart(TTestForm& form, const Bytes& properties, const std::string& name = "P") {
    Read(form, FormStream(Bytes().Short("TTestPart").Short(name).Raw(properties).U8(0).U8(0)));
}

}  // namespace

TEST(ObjectStream, ChildrenAreCreatedByClassNameWithEveryValueKind) {
    ASSERT_TRUE(Registered);
    Bytes child;
    child.U8(0xF2).U8(2).U8(5);  // prefix with a child-position integer
    child.Short("TTestPart").Short("DXTimer1").Bool("Enabled", true).Short("Interval").U8(3).U16(1000);
    std::uint8_t ext[10];
    DoubleToExtended(2.5, ext);
    child.Short("Speed").U8(5).Raw(std::vector<std::uint8_t>(ext, ext + 10));
    child.Ident("Mode", "mdAuto").Short("Options").U8(11).Short("doAllowReboot").Short("doWaitVBlank").Short("");
    child.Ident("Color", "clNavy").U8(0).U8(0);
    TTestForm form;
    Read(form, FormStream(child));
    EXPECT_EQ(form.Name, "Form1");
    EXPECT_EQ(form.Caption, "Zarvoth Mutador 1.0");
    ASSERT_EQ(form.ComponentCount(), 1);
    auto* timer = dynamic_cast<TTestPart*>(form.FindComponent("DXTimer1"));
    ASSERT_NE(timer, nullptr);
    EXPECT_TRUE(timer->Enabled);
    EXPECT_EQ(timer->Interval, 1000);
    EXPECT_DOUBLE_EQ(timer->Speed, 2.5);
    EXPECT_EQ(timer->Mode, 2);
    EXPECT_EQ(timer->Options, 3u);
    EXPECT_EQ(timer->Color, 0x800000u);
    EXPECT_EQ(timer->LoadedCalls, 1);
    EXPECT_EQ(form.LoadedCalls, 1);
}

TEST(ObjectStream, AnExistingChildOfTheSameNameIsFilledInPlace) {
    TTestForm form;
    auto part = std::make_unique<TTestPart>();
    part->Name = "Input";
    TTestPart& kept = static_cast<TTestPart&>(form.InsertComponent(std::move(part)));
    ReadPart(form, Bytes().Int8("Interval", 7), "Input");
    EXPECT_EQ(form.ComponentCount(), 1);
    EXPECT_EQ(kept.Interval, 7);
}

TEST(ObjectStream, ErrorsOfChildrenAndValues) {
    TTestForm form, second, third;
    EXPECT_THAT([&] { Read(form, FormStream(Bytes().Short("TNoSuchClass").Short("X").U8(0).U8(0))); },
                testing::ThrowsMessage<EClassNotFound>("Class TNoSuchClass not found"));
    EXPECT_THAT([&] { ReadPart(second, Bytes().Short("Options").U8(11).Short("doNothing").Short("")); },
                testing::ThrowsMessage<EPropertyReadError>("Error reading P.Options: Invalid property value"));
    EXPECT_THROW(ReadPart(third, Bytes().Short("Interval").U8(1).U8(0)), EPropertyReadError);  // a list
}

TEST(ObjectStream, DeeplyNestedChildrenAreRefused) {
    Bytes nested;
    for (int i = 0; i < 40; ++i) {
        nested.Short("TTestPart").Short("P" + std::to_string(i)).U8(0);
    }
    for (int i = 0; i < 40; ++i) {
        nested.U8(0);
    }
    TTestForm form;
    EXPECT_THROW(Read(form, FormStream(nested)), EInvalidStreamFormat);
}

TEST(ObjectStream, WriteThenReadGivesTheSameComponent) {
    TTestForm form;
    form.Name = "Form1";
    form.Caption = std::string(300, 'c');  // long string tag
    form.Tag = 70000;
    auto part = std::make_unique<TTestPart>();
    part->Name = "DXDraw1";
    part->Interval = -200;
    part->Speed = -0.125;
    part->Mode = 1;
    part->Options = 6;
    part->Color = 0x123456;
    form.InsertComponent(std::move(part));

    TMemoryStream out;
    WriteComponent(out, form);
    TTestForm copy;
    out.Seek(0);
    ReadComponent(out, copy);
    EXPECT_EQ(copy.Caption, form.Caption);
    EXPECT_EQ(copy.Tag, 70000);
    auto* p = dynamic_cast<TTestPart*>(copy.FindComponent("DXDraw1"));
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->Interval, -200);
    EXPECT_DOUBLE_EQ(p->Speed, -0.125);
    EXPECT_EQ(p->Mode, 1);
    EXPECT_EQ(p->Options, 6u);
    EXPECT_EQ(p->Color, 0x123456u);

    // Smallest integer tags: -200 needs 16 bits, 70000 needs 32.
    TMemoryStream small;
    TTestPart bare;
    bare.Interval = 127;
    WritePropertyRecords(small, bare);
    const std::vector<std::uint8_t>& d = small.Data();
    const std::vector<std::uint8_t> interval = {8, 'I', 'n', 't', 'e', 'r', 'v', 'a', 'l', 2, 127};
    EXPECT_NE(std::search(d.begin(), d.end(), interval.begin(), interval.end()), d.end());
}

// A collection whose items count their loaded notifications.
class TCountedItem : public TPersistent {
public:
    static inline int Notified = 0;
    int Value = 0;
    std::string ClassName() const override { return "TCountedItem"; }
    void DefineProperties(TPropertyList& list) override { list.Integer("Value", Value); }
    void Loaded() override { ++Notified; }
};

class TCountedItems : public TOwnedCollection<TCountedItem> {
public:
    std::string ClassName() const override { return "TCountedItems"; }
};

class TCountedOwner : public TComponent {
public:
    TCountedItems Items;
    std::string ClassName() const override { return "TCountedOwner"; }
    void DefineProperties(TPropertyList& list) override {
        TComponent::DefineProperties(list);
        list.Collection("Items", Items);
    }
};

TEST(ObjectStream, ACollectionReadTwiceNotifiesOnlyTheItemsKept) {
    Bytes b;
    b.Text("TPF0").Short("TCountedOwner").Short("");
    b.Short("Items").U8(14).U8(1).Int8("Value", 1).U8(0).U8(1).Int8("Value", 2).U8(0).U8(0);
    b.Short("Items").U8(14).U8(1).Int8("Value", 3).U8(0).U8(0);
    b.U8(0).U8(0);
    TCountedOwner owner;
    TCountedItem::Notified = 0;
    Read(owner, b);
    ASSERT_EQ(owner.Items.Count(), 1);
    EXPECT_EQ(owner.Items.Items(0).Value, 3);
    EXPECT_EQ(TCountedItem::Notified, 1);
}

TEST(ObjectStream, FloatPropertiesTakeEveryNumericTag) {
    const auto speed = [](const Bytes& value) {
        TTestForm form;
        ReadPart(form, Bytes().Short("Speed").Raw(value));
        return dynamic_cast<TTestPart&>(form.Components(0)).Speed;
    };
    EXPECT_EQ(speed(Bytes().U8(15).U32(0x3FC00000u)), 1.5);            // single
    EXPECT_EQ(speed(Bytes().U8(16).U32(25000).U32(0)), 2.5);           // currency
    EXPECT_EQ(speed(Bytes().U8(17).U32(0).U32(0x40100000u)), 4.0);     // date
    EXPECT_EQ(speed(Bytes().U8(3).U16(-300 & 0xFFFF)), -300.0);        // integer
    EXPECT_THROW(speed(Bytes().U8(6).Short("1.5")), EPropertyReadError);
}

TEST(ObjectStream, ExtendedFloatConversion) {
    for (const double v : {0.0, 1.0, -3.75, 1e300, 1.0 / 3.0}) {
        std::uint8_t bytes[10];
        DoubleToExtended(v, bytes);
        EXPECT_EQ(ExtendedToDouble(bytes), v);
    }
    const std::uint8_t one[10] = {0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x3F};
    EXPECT_EQ(ExtendedToDouble(one), 1.0);
}
