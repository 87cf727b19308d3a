// Graphics files: the image item properties, the container and the reader's errors.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <tuple>

#include "engine/assets/ObjectReader.h"
#include "engine/assets/ObjectWriter.h"
#include "engine/images/PictureCollection.h"
#include "tests/engine/assets/AssetBytes.h"

namespace {

// 2 x 2 8-bit picture: top row red, blue; bottom row green, white.
Bytes SmallDIB() {
    Bytes b = InfoHeader(2, 2, 8, 0, 8, 4);
    Entry(b, RGB(255, 0, 0));
    Entry(b, RGB(0, 0, 255));
    Entry(b, RGB(0, 255, 0));
    Entry(b, RGB(255, 255, 255));
    b.U8(2).U8(3).U16(0);  // bottom row first
    b.U8(0).U8(1).U16(0);
    return b;
}

Bytes SmallItem(const std::string& name) {
    Bytes item;
    item.Str("Name", name).Int8("PatternHeight", 0).Int8("PatternWidth", 0);
    item.Binary("Picture.Data", DIBPayload(SmallDIB()));
    item.Bool("SystemMemory", false).Bool("Transparent", true).Int32("TransparentColor", 0x00FC02FC);
    return item;
}

void Load(TPictureCollection& list, const Bytes& file) {
    TMemoryStream stream(file.Data);
    list.LoadFromStream(stream);
}

// A file around a hand-made root object: its name, properties and children.
Bytes RootFile(const Bytes& root) {
    return ResourceFile(Bytes().Text("TPF0").Short("TPictureCollectionComponent").Raw(root), "X");
}

std::string LoadError(const Bytes& file) {
    TPictureCollection list;
    try {
        Load(list, file);
    } catch (const Exception& e) {
        return e.what();
    }
    return "(loaded)";
}

// The cursor picture of the worked example: 26 x 25, pixel k of the picture (top row first) has
// colour number k mod 256, so the palette in first-seen order is colour 0 .. 255.
TColor CursorColor(int k) { return RGB(k, 255 - k, (k * 7) & 0xFF); }

std::vector<TColor> CursorPixels() {
    std::vector<TColor> pixels;
    for (int k = 0; k < 26 * 25; ++k) {
        pixels.push_back(CursorColor(k % 256));
    }
    return pixels;
}

Bytes WorkedExample() {
    Bytes dib;
    dib.U32(40).U32(26).U32(25).U16(1).U16(8).U32(0).U32(700).U32(0).U32(0).U32(0).U32(0);
    for (int i = 0; i < 256; ++i) {
        Entry(dib, CursorColor(i));
    }
    for (int row = 0; row < 25; ++row) {
        const int y = 24 - row;
        for (int x = 0; x < 26; ++x) {
            dib.U8((y * 26 + x) % 256);
        }
        dib.U8(0).U8(0);
    }
    Bytes item;
    item.U8(1).Str("Name", "Cursor").Int8("PatternHeight", 0).Int8("PatternWidth", 0);
    Bytes payload = DIBPayload(dib);
    EXPECT_EQ(payload.Size(), 1769u);
    item.Binary("Picture.Data", payload);
    item.Bool("SystemMemory", false).Bool("Transparent", true).Int32("TransparentColor", 0x00FC02FC).U8(0);
    return item;
}

std::vector<std::uint8_t> WriteItem(TPictureCollectionItem& item) {
    TMemoryStream out;
    out.WriteU8(1);
    WritePropertyRecords(out, item);
    out.WriteU8(0);
    return out.TakeData();
}

}  // namespace

TEST(WorkedExample, ABuiltCursorItemComesOutByteForByte) {
    TPictureCollectionItem item;
    item.Name = "Cursor";
    item.Picture.AssignPixels(26, 25, CursorPixels());
    item.TransparentColor = RGB(252, 2, 252);
    EXPECT_EQ(WriteItem(item), WorkedExample().Data);
}

TEST(WorkedExample, ReadsAndWritesBackUnchanged) {
    const Bytes example = WorkedExample();
    TPictureCollection list;
    const Bytes file = GraphicsFile({Bytes().Raw(std::vector<std::uint8_t>(example.Data.begin() + 1, example.Data.end() - 1))});
    Load(list, file);
    ASSERT_EQ(list.Count(), 1);
    TPictureCollectionItem& read = list.Items(0);
    EXPECT_EQ(read.Name, "Cursor");
    EXPECT_EQ(read.Picture.Width(), 26);
    EXPECT_EQ(read.Picture.Height(), 25);
    EXPECT_EQ(read.Picture.Pixel(0, 0), CursorColor(0));
    EXPECT_EQ(read.Picture.Pixel(25, 24), CursorColor((24 * 26 + 25) % 256));
    EXPECT_EQ(read.TransparentColor, 0x00FC02FCu);
    EXPECT_TRUE(read.Transparent);
    EXPECT_EQ(WriteItem(read), example.Data);
}

TEST(GraphicsFile, ReadsItemsWithTheirProperties) {
    TPictureCollection list;
    Bytes second = SmallItem("Ship");
    second.Int8("SkipHeight", 3).Int8("SkipWidth", -2);
    Load(list, GraphicsFile({SmallItem("Star"), second}));
    ASSERT_EQ(list.Count(), 2);
    EXPECT_EQ(list.ComponentName, "DXImageList1");
    const TPictureCollectionItem& star = list.Items(0);
    EXPECT_EQ(star.Name, "Star");
    EXPECT_EQ(star.SkipWidth, 0);  // absent: default
    EXPECT_EQ(star.Picture.GraphicClass(), "TDIB");
    EXPECT_EQ(star.Picture.Pixels(),
              (std::vector<TColor>{RGB(255, 0, 0), RGB(0, 0, 255), RGB(0, 255, 0), RGB(255, 255, 255)}));
    EXPECT_EQ(list.Items(1).SkipHeight, 3);
    EXPECT_EQ(list.Items(1).SkipWidth, -2);
    EXPECT_THROW(list.Items(2), EListError);
    EXPECT_THAT([&] { list.Items(-1); }, testing::ThrowsMessage<EListError>("List index out of bounds (-1)"));
}

TEST(GraphicsFile, HeaderNameOf63CharactersIsSkippedAndType3Refused) {
    TPictureCollection list;
    Load(list, GraphicsFile({SmallItem("A")}, std::string(63, 'N')));
    EXPECT_EQ(list.Count(), 1);

    // Resource type 3, no 0xFF marker, no "TPF0" after the 8-character name.
    for (const auto& [offset, value] : {std::pair{1, 3}, {0, 0xFE}, {18, 'X'}}) {
        Bytes broken = GraphicsFile({SmallItem("A")});
        broken.Data[static_cast<std::size_t>(offset)] = static_cast<std::uint8_t>(value);
        EXPECT_EQ(LoadError(broken), "Invalid stream format") << offset;
    }
    EXPECT_EQ(LoadError(Bytes().U8(0xFF).U16(10).Text("NAME")), "Invalid stream format");
}

TEST(GraphicsFile, EmptyCollectionAndOrderIntegers) {
    TPictureCollection list;
    list.Add();
    Load(list, GraphicsFile({}));
    EXPECT_EQ(list.Count(), 0);

    Bytes items;
    items.Short("").Short("List").U8(14);
    items.U8(2).U8(0).U8(1).Raw(SmallItem("First")).U8(0);
    items.U8(4).U32(1).U8(1).Raw(SmallItem("Second")).U8(0);
    items.U8(0).U8(0).U8(0);
    Load(list, RootFile(items));
    ASSERT_EQ(list.Count(), 2);
    EXPECT_EQ(list.Items(1).Name, "Second");
}

TEST(GraphicsFile, ColourIdentifiersAndBooleanIdentifiers) {
    TPictureCollection list;
    Bytes item = SmallItem("A");
    item.Ident("TransparentColor", "clFuchsia").Ident("SystemMemory", "True");
    Bytes other = SmallItem("B");
    other.Ident("TransparentColor", "clBtnFace");
    Load(list, GraphicsFile({item, other}));
    EXPECT_EQ(list.Items(0).TransparentColor, 0xFF00FFu);
    EXPECT_TRUE(list.Items(0).SystemMemory);
    EXPECT_EQ(list.Items(1).TransparentColor, 0x8000000Fu);

    Bytes bad = SmallItem("C");
    bad.Ident("TransparentColor", "clPlaid");
    EXPECT_EQ(LoadError(GraphicsFile({bad})), "Error reading TPictureCollectionItem.TransparentColor: Invalid property value");
}

TEST(GraphicsFile, LongAndWideStringTags) {
    Bytes item;
    item.Short("Name").U8(12).U32(3).Text("abc");
    Bytes wide;
    wide.Short("Name").U8(18).U32(2).U16('h').U16(0x263A);  // the smiley has no 8-bit form
    Bytes utf8;
    utf8.Short("Name").U8(20).U32(3).Text("\xC3\xA9z");
    TPictureCollection list;
    Load(list, GraphicsFile({item, wide, utf8}));
    EXPECT_EQ(list.Items(0).Name, "abc");
    EXPECT_EQ(list.Items(1).Name, "h?");
    EXPECT_EQ(list.Items(2).Name, "\xE9z");
}

TEST(GraphicsFile, UnknownPictureClassGivesAnItemWithoutPicture) {
    Bytes item;
    item.Str("Name", "Vector").Binary("Picture.Data", Bytes().Short("TSomething").U32(99).U8(1));
    Bytes meta;
    meta.Binary("Picture.Data", Bytes().Short("TMetafile").U32(0));
    TPictureCollection list;
    Load(list, GraphicsFile({item, meta}));
    EXPECT_TRUE(list.Items(0).Picture.Empty());
    EXPECT_EQ(list.Items(0).Picture.Width(), 0);
    EXPECT_EQ(list.Items(0).Picture.Height(), 0);
    EXPECT_TRUE(list.Items(1).Picture.Empty());
}

// Item errors name the object and property once; a broken binary length or a DIB bigger than
// its data is a read error, found without allocating what it claims.
TEST(GraphicsFile, BrokenItemsGiveTheirErrors) {
    const struct {
        Bytes Item;
        const char* Message;
    } cases[] = {
        {Bytes().Int8("Colour", 1), "Colour: Property Colour does not exist"},
        {Bytes().Str("PatternWidth", "wide"), "PatternWidth: Invalid property value"},
        {Bytes().Int8("Transparent", 1), "Transparent: Invalid property value"},
        {Bytes().Int8("Name.Length", 1), "Name.Length: Invalid property path"},
        {Bytes().Binary("Picture.Data", DIBPayload(Bytes().U32(20))), "Picture.Data: DIB is invalid"},
        {Bytes().Short("Picture.Data").U8(10).U32(0xFFFFFFF0u).Short("TDIB"), "Picture.Data: Stream read error"},
        {Bytes().Binary("Picture.Data", DIBPayload(InfoHeader(8192, -8192, 24))), "Picture.Data: Stream read error"},
        {Bytes().Binary("Picture.Data", DIBPayload(InfoHeader(16385, 1, 24))), "Picture.Data: DIB is invalid"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(LoadError(GraphicsFile({c.Item})), std::string("Error reading TPictureCollectionItem.") + c.Message);
    }
}

TEST(GraphicsFile, RootErrorsUseTheObjectName) {
    EXPECT_EQ(LoadError(RootFile(Bytes().Short("Images").Int8("Tag", 1).Int8("Bogus", 0).U8(0).U8(0))),
              "Error reading Images.Bogus: Property Bogus does not exist");
    EXPECT_EQ(LoadError(RootFile(Bytes().Short("9lives").U8(0).U8(0))), "''9lives'' is not a valid component name");
}

TEST(GraphicsFile, FailedLoadKeepsTheItemsReadBefore) {
    Bytes broken = SmallItem("Broken");
    broken.Int8("Nope", 0);
    TPictureCollection list;
    EXPECT_THROW(Load(list, GraphicsFile({SmallItem("One"), SmallItem("Two"), broken, SmallItem("Four")})),
                 EPropertyReadError);
    ASSERT_EQ(list.Count(), 2);
    EXPECT_EQ(list.Items(1).Name, "Two");
}

TEST(GraphicsFile, TruncatedFilesAreStreamReadErrors) {
    const Bytes whole = GraphicsFile({SmallItem("One")});
    // Every cut after the signature fails with a read error (wrapped when inside a property).
    for (std::size_t cut = 18 + 4; cut < whole.Size(); ++cut) {
        Bytes part;
        part.Data.assign(whole.Data.begin(), whole.Data.begin() + static_cast<std::ptrdiff_t>(cut));
        const std::string message = LoadError(part);
        EXPECT_NE(message.find("Stream read error"), std::string::npos) << "cut at " << cut << ": " << message;
    }
}

TEST(GraphicsFile, SaveAndLoadRoundTrip) {
    TPictureCollection list;
    list.ComponentName = "DXImageList1";
    list.ColorTable.assign(TPictureCollection::ColorTableSize, 7);
    TPictureCollectionItem& a = list.Add();
    a.Name = "Ship";
    a.PatternWidth = 2;
    a.PatternHeight = 1;
    a.SkipWidth = 1;
    a.Transparent = false;
    a.TransparentColor = 0xFF00FF;
    std::vector<TColor> many;
    for (int i = 0; i < 300; ++i) {
        many.push_back(RGB(i, i / 2, 255 - i % 256));
    }
    a.Picture.AssignPixels(30, 10, many);
    list.Add().Name = "Empty";

    TMemoryStream saved;
    list.SaveToStream(saved);
    EXPECT_EQ(saved.Data()[0], 0xFF);
    const std::string header(saved.Data().begin() + 3, saved.Data().begin() + 3 + 28);
    EXPECT_EQ(header, std::string("TPICTURECOLLECTIONCOMPONENT") + '\0');
    EXPECT_EQ(saved.Data()[31] | (saved.Data()[32] << 8), 0x1030);
    const std::uint32_t size = saved.Data()[33] | (saved.Data()[34] << 8) | (saved.Data()[35] << 16) | (saved.Data()[36] << 24);
    EXPECT_EQ(size, saved.Size() - 37);

    TPictureCollection copy;
    saved.Seek(0);
    copy.LoadFromStream(saved);
    ASSERT_EQ(copy.Count(), 2);
    EXPECT_EQ(copy.ComponentName, "DXImageList1");
    EXPECT_EQ(copy.ColorTable, list.ColorTable);
    const auto properties = [](const TPictureCollectionItem& item) {
        return std::tuple(item.Name, item.PatternWidth, item.PatternHeight, item.SkipWidth, item.SkipHeight,
                          item.Transparent, item.TransparentColor, item.Picture.Pixels());
    };
    EXPECT_EQ(properties(copy.Items(0)), properties(a));
    EXPECT_TRUE(copy.Items(1).Picture.Empty());

    TMemoryStream again;
    copy.SaveToStream(again);
    EXPECT_EQ(again.Data(), saved.Data());
}

TEST(GraphicsFile, FilesThatCannotBeOpened) {
    TPictureCollection list;
    EXPECT_THAT([&] { list.LoadFromFile("/nonexistent/GGraphics.dxg"); },
                testing::ThrowsMessage<EFOpenError>("Cannot open file /nonexistent/GGraphics.dxg"));
    EXPECT_THROW(list.LoadFromFile("/tmp"), EFOpenError);
}

// The reader's message stays as it is; the file it came from travels beside it.
TEST(GraphicsFile, AnErrorInTheContentsCarriesTheFilesName) {
    const std::string path = testing::TempDir() + "asset_damaged.dxg";
    Bytes damaged = GraphicsFile({SmallItem("A")});
    damaged.Data.resize(damaged.Size() / 2);
    WriteBytes(path, damaged);
    TPictureCollection list;
    EXPECT_THAT([&] { list.LoadFromFile(path); },
                testing::Throws<Exception>(testing::AllOf(
                    testing::Property(&Exception::FileName, path),
                    testing::Property(&Exception::what,
                                      testing::StrEq("Error reading TPictureCollectionItem.Picture.Data: Stream read error")))));
    std::remove(path.c_str());
}

TEST(GraphicsFile, SaveToFileThenLoadFromFile) {
    TPictureCollection list;
    list.Add().Picture.AssignPixels(3, 1, {RGB(1, 2, 3), RGB(4, 5, 6), RGB(7, 8, 9)});
    const std::string path = testing::TempDir() + "asset_roundtrip.dxg";
    list.SaveToFile(path);
    TPictureCollection copy;
    copy.LoadFromFile(path);
    ASSERT_EQ(copy.Count(), 1);
    EXPECT_EQ(copy.Items(0).Picture.Pixel(2, 0), RGB(7, 8, 9));
    std::remove(path.c_str());
}

TEST(GraphicsFile, AFileLockedByAWriterIsNotOpened) {
    TPictureCollection list;
    list.Add().Name = "Locked";
    const std::string path = testing::TempDir() + "asset_locked.dxg";
    list.SaveToFile(path);
    const int writer = ::open(path.c_str(), O_WRONLY);
    ASSERT_GE(writer, 0);
    ASSERT_EQ(::flock(writer, LOCK_EX), 0);
    TPictureCollection copy;
    EXPECT_THROW(copy.LoadFromFile(path), EFOpenError);
    EXPECT_THROW(list.SaveToFile(path), EFCreateError);
    ::close(writer);
    copy.LoadFromFile(path);
    EXPECT_EQ(copy.Items(0).Name, "Locked");
    std::remove(path.c_str());
}

TEST(GraphicsFile, ColourTableIsReplacedByTheNextLoadAndMustBeComplete) {
    TPictureCollection list;
    list.ColorTable.assign(TPictureCollection::ColorTableSize, 1);
    Load(list, GraphicsFile({SmallItem("A")}));
    EXPECT_TRUE(list.ColorTable.empty());

    EXPECT_EQ(LoadError(RootFile(Bytes().Short("").Short("List.ColorTable").U8(10).U32(4).U32(0).U8(0).U8(0))),
              "Error reading TPictureCollectionComponent.List.ColorTable: Stream read error");
}
