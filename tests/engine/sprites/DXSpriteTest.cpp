// Tests of the sprite tree: draw order, move order, collision walks, deferred freeing and
// the frame animation.
#include "engine/sprites/DXSprite.h"

#include <array>
#include <functional>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "engine/images/DXImageList.h"
#include "engine/assets/ObjectReader.h"
#include "engine/assets/ObjectWriter.h"
#include "support/FakeVideoDevice.h"

namespace {

using TLog = std::vector<std::string>;

// A sprite that writes what happens to it into a shared log.
class TProbe : public TSprite {
public:
    TProbe(TSprite* parent, std::string name, TLog& log) : TSprite(parent), Name(std::move(name)), FLog(log) {
        Width = 10;
        Height = 10;
    }

    void Advance(int /*MoveCount*/) override {
        FLog.push_back("move " + Name);
        if (OnAdvance) {
            OnAdvance();
        }
    }
    void Render() override { FLog.push_back("draw " + Name); }
    void HandleCollision(TSprite* other, bool& done) override {
        FLog.push_back("hit " + static_cast<TProbe*>(other)->Name);
        if (KillOnHit) {
            Kill();
        }
        if (StopOnHit) {
            done = true;
        }
    }

    std::string Name;
    std::function<void()> OnAdvance;
    bool KillOnHit = false;
    bool StopOnHit = false;

private:
    TLog& FLog;
};

class SpriteTreeTest : public ::testing::Test {
protected:
    SpriteTreeTest() { Root.SetSurface(&Screen); }

    TProbe* Make(const std::string& name, int z = 0, double x = 0, double y = 0, TSprite* parent = nullptr) {
        auto* sprite = new TProbe(parent != nullptr ? parent : &Root, name, Log);
        sprite->SetZ(z);
        sprite->X = x;
        sprite->Y = y;
        return sprite;
    }

    int CollideLogged(TProbe* collider) {
        Log.clear();
        return collider->Collide();
    }

    TLog DrawLog() {
        Log.clear();
        Root.Draw();
        return Log;
    }

    TDirectDrawSurface Screen{800, 600, platform::PixelLayout::RGB565};
    TLog Log;
    TSpriteEngine Root;
};

TEST_F(SpriteTreeTest, EqualDepthDrawsTheLastInsertedFirst) {
    Make("first", 5);
    Make("second", 5);
    Make("third", 4);
    Make("fourth", 5);
    EXPECT_EQ(DrawLog(), (TLog{"draw third", "draw fourth", "draw second", "draw first"}));
    EXPECT_EQ(Root.DrawnCount(), 4);
}

TEST_F(SpriteTreeTest, SetZOnlyResortsOnAChange) {
    TProbe* a = Make("a", 5);
    Make("b", 5);
    a->SetZ(5);
    EXPECT_EQ(DrawLog(), (TLog{"draw b", "draw a"}));
    a->SetZ(6);
    a->SetZ(5);
    EXPECT_EQ(DrawLog(), (TLog{"draw a", "draw b"}));
}

TEST_F(SpriteTreeTest, ParentsDrawUnderTheirChildrenAndHiddenSubtreesAreSkipped) {
    TProbe* parent = Make("parent", 9);
    Make("child", -3, 0, 0, parent);
    Make("other", 1);
    EXPECT_EQ(DrawLog(), (TLog{"draw other", "draw parent", "draw child"}));
    parent->Visible = false;
    EXPECT_EQ(DrawLog(), (TLog{"draw other"}));
}

TEST_F(SpriteTreeTest, OnlySpritesOnTheSurfaceAreDrawn) {
    Make("inside", 0, 790, 590);
    Make("touching", 0, 800, 100);
    Make("above", 0, 0, -10);
    TProbe* empty = Make("empty", 0, 50, 50);
    empty->Width = 0;
    EXPECT_EQ(DrawLog(), (TLog{"draw inside"}));

    TSpriteEngine noSurface;
    TLog silent;
    new TProbe(&noSurface, "x", silent);
    noSurface.Draw();
    EXPECT_TRUE(silent.empty());
}

TEST_F(SpriteTreeTest, ASpriteBornInAdvanceIsDrawnAtOnceAndMovedNextFrame) {
    TProbe* launcher = Make("launcher", 5);
    launcher->OnAdvance = [&] {
        if (Root.Count() == 1) {
            Make("torpedo", 4);
        }
    };
    Root.Move(1);
    EXPECT_EQ(Log, (TLog{"move launcher"}));
    EXPECT_EQ(Root.SpriteCount(), 2);
    EXPECT_EQ(DrawLog(), (TLog{"draw torpedo", "draw launcher"}));
    Log.clear();
    Root.Move(1);
    EXPECT_EQ(Log, (TLog{"move launcher", "move torpedo"}));
}

TEST_F(SpriteTreeTest, MoveFollowsInsertionOrderAndSkipsFrozenSubtrees) {
    TProbe* a = Make("a", 9);
    Make("a.child", 0, 0, 0, a);
    Make("b", 1);
    Root.Move(16);
    EXPECT_EQ(Log, (TLog{"move a", "move a.child", "move b"}));
    Log.clear();
    a->CanMove = false;
    Root.Move(16);
    EXPECT_EQ(Log, (TLog{"move b"}));
}

// A torpedo kills itself on its first hit; the first enemy in insertion order (not in depth
// order) takes it. Setting the stop flag ends the walk the same way.
TEST_F(SpriteTreeTest, ATorpedoHitsOnlyTheFirstEnemyInInsertionOrder) {
    Make("enemy1", 6, 0, 0);
    Make("enemy2", 5, 5, 5);
    TProbe* torpedo = Make("torpedo", 4, 3, 3);
    TProbe* stopper = Make("stopper", 4, 3, 3);
    torpedo->KillOnHit = true;
    stopper->StopOnHit = true;
    for (TProbe* collider : {stopper, torpedo}) {
        EXPECT_EQ(CollideLogged(collider), 1) << collider->Name;
        EXPECT_EQ(Log, (TLog{"hit enemy1"})) << collider->Name;
    }
    EXPECT_TRUE(torpedo->IsDead());
    EXPECT_FALSE(stopper->IsDead());
}

TEST_F(SpriteTreeTest, ALiveColliderMeetsEveryOverlapInTheWholeTree) {
    TProbe* enemy = Make("enemy", 5, 0, 0);
    Make("turret", 0, 2, 2, enemy);  // world position (2, 2)
    Make("far", 5, 300, 300);
    Make("dead", 5, 4, 4)->Kill();
    TProbe* player = Make("player", 5, 5, 5);
    EXPECT_EQ(CollideLogged(player), 3);
    EXPECT_EQ(Log, (TLog{"hit enemy", "hit turret", "hit dead"}));

    enemy->CanCollide = false;  // hides the turret as well
    EXPECT_EQ(CollideLogged(player), 1);
    EXPECT_EQ(Log, (TLog{"hit dead"}));
}

TEST_F(SpriteTreeTest, TouchingAndEmptyRectanglesNeverCollide) {
    Make("right neighbour", 0, 10, 0);
    Make("below neighbour", 0, 0, 10);
    TProbe* flat = Make("flat", 0, 2, 2);
    flat->Height = 0;
    TProbe* collider = Make("collider");
    EXPECT_EQ(CollideLogged(collider), 0);
    EXPECT_EQ(flat->Collide(), 0);
    EXPECT_TRUE(Log.empty());
}

TEST_F(SpriteTreeTest, ADeadColliderReturnsZeroAndCallsNoHook) {
    Make("enemy");
    TProbe* torpedo = Make("torpedo");
    torpedo->Kill();
    EXPECT_EQ(CollideLogged(torpedo), 0);
    EXPECT_TRUE(Log.empty());

    TProbe orphan(nullptr, "orphan", Log);  // no engine: nothing to walk
    EXPECT_EQ(orphan.Collide(), 0);
    EXPECT_TRUE(Log.empty());
}

TEST_F(SpriteTreeTest, KilledSpritesStayUntilFreeDeadAndAreQueuedOnce) {
    TProbe* a = Make("a");
    Make("b");
    a->Kill();
    a->Kill();
    EXPECT_TRUE(a->IsDead());
    Root.Move(1);
    EXPECT_EQ(Log, (TLog{"move a", "move b"}));
    Root.FreeDead();
    EXPECT_EQ(Root.SpriteCount(), 1);
    EXPECT_EQ(Root.Count(), 1);
    EXPECT_EQ(DrawLog(), (TLog{"draw b"}));
    Root.FreeDead();  // nothing left queued
    EXPECT_EQ(Root.SpriteCount(), 1);
}

TEST_F(SpriteTreeTest, FreeingADeadParentTakesItsDeadChildOnce) {
    TProbe* parent = Make("parent");
    TProbe* child = Make("child", 0, 0, 0, parent);
    Make("grandchild", 0, 0, 0, child);
    child->Kill();
    parent->Kill();
    EXPECT_EQ(Root.SpriteCount(), 3);
    Root.FreeDead();
    EXPECT_EQ(Root.SpriteCount(), 0);
    EXPECT_EQ(Root.Count(), 0);
}

TEST_F(SpriteTreeTest, ClearEmptiesTheWorldAndDestructionDetaches) {
    Make("a");
    TProbe* b = Make("b");
    Make("b.child", 0, 0, 0, b)->Kill();
    delete b;
    EXPECT_EQ(Root.SpriteCount(), 1);
    Root.FreeDead();  // the dead child went with its parent and left the queue
    EXPECT_EQ(Root.SpriteCount(), 1);
    Root.Clear();
    EXPECT_EQ(Root.SpriteCount(), 0);
    EXPECT_TRUE(DrawLog().empty());
}

TEST_F(SpriteTreeTest, ItemsRaisesTheTreeOrTheListError) {
    TProbe* a = Make("a");
    EXPECT_THAT([&] { a->Items(3); }, testing::ThrowsMessage<ESpriteError>("Index of the list exceeds the range. (3)"));
    EXPECT_THROW(Root.Items(1), EListError);
    EXPECT_THROW(Root.Items(-1), EListError);
    EXPECT_EQ(Root.Items(0), a);
}

TEST_F(SpriteTreeTest, WorldPositionsAddUpToTheRootAndBoundsTruncate) {
    Root.X = 100;
    TProbe* parent = Make("parent", 0, 10.9, -0.5);
    TProbe* child = Make("child", 0, 1.5, 2.25, parent);
    EXPECT_EQ(parent->Engine(), &Root);
    EXPECT_EQ(child->Engine(), &Root);
    EXPECT_DOUBLE_EQ(child->WorldX(), 112.4);
    EXPECT_EQ(parent->GetBounds(), (TRect{110, 0, 120, 10}));
    EXPECT_EQ(child->GetBounds(), (TRect{112, 1, 122, 11}));
    child->X = 1e300;  // saturates rather than overflowing
    EXPECT_EQ(child->GetBounds().Left, INT_MAX);
}

TEST_F(SpriteTreeTest, TheSurfaceSetsTheRootSizeAndLeavingKeepsTheRectangle) {
    EXPECT_EQ(Root.Width, 800);
    EXPECT_EQ(Root.Height, 600);
    Root.SetSurface(nullptr);
    EXPECT_EQ(Root.SurfaceRect(), (TRect{0, 0, 800, 600}));
    EXPECT_EQ(Root.Surface(), nullptr);
}

class TTableSprite : public TImageSprite {
public:
    static constexpr std::string_view SpriteClassName = "TTableSprite";
    explicit TTableSprite(TSprite* parent) : TImageSprite(parent) { SetZ(5); }
};

TEST_F(SpriteTreeTest, ClassReferencesBuildSpritesUnderTheParentAndKnowTheirNames) {
    constexpr std::array<TSpriteClass, 2> table{SpriteClassOf<TTableSprite>(), SpriteClassOf<TImageSprite>()};
    TSprite* made = table[0].Create(&Root);
    EXPECT_NE(dynamic_cast<TTableSprite*>(made), nullptr);
    EXPECT_EQ(made->Z(), 5);
    EXPECT_EQ(made->Parent(), &Root);
    EXPECT_EQ(Root.SpriteCount(), 1);
    EXPECT_FALSE(table[0] == table[1]);
    EXPECT_TRUE(table[0] == SpriteClassOf<TTableSprite>());

    EXPECT_EQ(table[0].ClassName(), "TTableSprite");
    EXPECT_EQ(table[1].ClassName(), "TImageSprite");
    for (const auto& [name, same] : {std::pair{"ttablesprite", true}, {"TTABLESPRITE", true}, {"TTableSprit", false},
                                     {"TTableSprites", false}, {"", false}}) {
        EXPECT_EQ(table[0].ClassNameIs(name), same) << name;
    }
}

TEST(ImageSpriteAnimation, AOneShotAnimationStopsExactlyOnItsLastFrame) {
    TSpriteEngine root;
    TImageSprite explosion(&root);
    explosion.FrameCount = 9;
    explosion.FrameSpeed = 0.3;
    for (int frame = 0; frame < 26; ++frame) {
        explosion.Advance(1);
    }
    EXPECT_LT(explosion.FramePos, 8.0);
    EXPECT_EQ(explosion.FrameIndex(), 7);
    for (int frame = 0; frame < 4; ++frame) {
        explosion.Advance(1);
    }
    EXPECT_EQ(explosion.FramePos, 8.0);
    EXPECT_EQ(explosion.FrameSpeed, 0.0);
    EXPECT_EQ(explosion.FrameIndex(), 8);
}

TEST(ImageSpriteAnimation, BackwardsStopsOnZeroAndLoopsWrapIntoRange) {
    TSpriteEngine root;
    TImageSprite sprite(&root);
    sprite.FrameCount = 3;
    sprite.FramePos = 1;
    sprite.FrameSpeed = -0.75;
    sprite.Advance(2);
    EXPECT_EQ(sprite.FramePos, 0.0);
    EXPECT_EQ(sprite.FrameSpeed, 0.0);

    sprite.FrameLooped = true;
    sprite.FrameSpeed = 0.5;
    sprite.FrameStart = 4;
    sprite.Advance(7);  // 3.5 wraps to 0.5
    EXPECT_DOUBLE_EQ(sprite.FramePos, 0.5);
    EXPECT_EQ(sprite.FrameIndex(), 4);
    sprite.FrameSpeed = -1;
    sprite.Advance(1);  // -0.5 wraps to 2.5
    EXPECT_DOUBLE_EQ(sprite.FramePos, 2.5);

    sprite.FrameCount = 0;
    sprite.Advance(1);
    EXPECT_EQ(sprite.FramePos, 0.0);
}

TEST(DXSpriteEngine, DrawsOnlyOnAnInitializedDisplayItFollows) {
    FakeVideoDevice device;
    auto display = std::make_unique<TDXDraw>(&device);
    TDXSpriteEngine component;
    TLog log;
    new TProbe(&component.Engine(), "ship", log);

    component.SetDXDraw(display.get());
    component.Draw();
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(component.Engine().Surface(), nullptr);

    display->Initialize();
    ASSERT_TRUE(display->Initialized());
    EXPECT_EQ(component.Engine().Surface(), display->Surface());
    EXPECT_EQ(component.Engine().SurfaceRect(), display->Surface()->ClientRect());
    component.Move(1);
    component.Draw();
    EXPECT_EQ(log, (TLog{"move ship", "draw ship"}));

    display->Finalize();
    EXPECT_EQ(component.Engine().Surface(), nullptr);
    display->Initialize();
    EXPECT_NE(component.Engine().Surface(), nullptr);

    display.reset();
    EXPECT_EQ(component.DXDraw(), nullptr);
    EXPECT_EQ(component.Engine().Surface(), nullptr);
    log.clear();
    component.Draw();
    EXPECT_TRUE(log.empty());
}

TEST(DXSpriteEngine, ADisplayLeftBehindNoLongerReachesTheEngine) {
    FakeVideoDevice device;
    TDXDraw first(&device);
    TDXDraw second(&device);
    first.Initialize();
    {
        TDXSpriteEngine component;
        component.SetDXDraw(&first);
        ASSERT_EQ(component.Engine().Surface(), first.Surface());
        component.SetDXDraw(&second);
        EXPECT_EQ(component.Engine().Surface(), nullptr);
        second.Initialize();
        first.Finalize();
        EXPECT_EQ(component.Engine().Surface(), second.Surface());
        new TImageSprite(&component.Engine());
        component.Engine().Items(0)->Kill();
        component.FreeDead();
        EXPECT_EQ(component.Engine().SpriteCount(), 0);
    }
    second.Finalize();  // the destroyed component has left the display's list
    EXPECT_FALSE(second.Initialized());
}

// A running display with one image: two 10 x 10 frames side by side, red then blue.
class ImageSpriteDrawTest : public ::testing::Test {
protected:
    ImageSpriteDrawTest() : Display(&Device) {
        std::vector<TColor> pixels;
        for (int y = 0; y < 10; ++y) {
            for (int x = 0; x < 20; ++x) {
                pixels.push_back(x < 10 ? RGB(255, 0, 0) : RGB(0, 0, 255));
            }
        }
        Item = &Images.Items().Add();
        Item->Picture.AssignPixels(20, 10, pixels);
        Item->PatternWidth = 10;
        Item->PatternHeight = 10;
        Item->Transparent = false;
        Images.SetDXDraw(&Display);
        Component.SetDXDraw(&Display);
        Display.Initialize();
        Display.Surface()->Fill(0);
    }

    TImageSprite* Sprite(double x, double y, int width, int height, TPictureCollectionItem* image) {
        auto* sprite = new TImageSprite(&Component.Engine());
        sprite->Image = image;
        sprite->X = x;
        sprite->Y = y;
        sprite->Width = width;
        sprite->Height = height;
        return sprite;
    }

    // Each (x, y) of the screen holds the colour given (0: untouched).
    void ExpectPixels(std::initializer_list<std::tuple<int, int, TColor>> expected) {
        for (const auto& [x, y, color] : expected) {
            EXPECT_EQ(Display.Surface()->Pixel(x, y), color == 0 ? 0 : Display.Surface()->ColorToPixel(color))
                << x << "," << y;
        }
    }

    FakeVideoDevice Device;
    TDXDraw Display;
    TDXImageList Images;
    TDXSpriteEngine Component;
    TPictureCollectionItem* Item = nullptr;
};

TEST_F(ImageSpriteDrawTest, TheFrameIsDrawnCentredOnTheSpriteRectangle) {
    TImageSprite* ship = Sprite(100.7, 50, 30, 20, Item);
    ship->FramePos = 1.9;
    EXPECT_EQ(ship->DrawRect(), (TRect{110, 55, 140, 75}));
    Component.Draw();
    ExpectPixels({{110, 55, RGB(0, 0, 255)}, {119, 64, RGB(0, 0, 255)}, {109, 55, 0}, {120, 64, 0}, {110, 65, 0}});
}

TEST_F(ImageSpriteDrawTest, ALargerImageOverhangsTheSpriteAndOffsetsTruncateTowardZero) {
    // Offsets (5 - 10) div 2 = -2 and (4 - 10) div 2 = -3.
    EXPECT_EQ(Sprite(200, 300, 5, 4, Item)->DrawRect(), (TRect{198, 297, 203, 301}));
    Component.Draw();
    ExpectPixels({{198, 297, RGB(255, 0, 0)}, {207, 306, RGB(255, 0, 0)}, {197, 297, 0}});

    EXPECT_EQ(Sprite(0, 0, 10, 10, nullptr)->DrawRect(), (TRect{0, 0, 10, 10}));  // no image: nothing to draw
    Component.Draw();
    EXPECT_EQ(Component.Engine().DrawnCount(), 2);
    ExpectPixels({{0, 0, 0}});
}

TEST(DXSpriteEngine, TheFormKeepsTheDisplayByName) {
    FakeVideoDevice device;
    TDXDraw display(&device);
    display.SetName("DXDraw1");
    TDXSpriteEngine written;
    written.SetName("DXSpriteEngine1");
    written.SetDXDraw(&display);

    TMemoryStream stream;
    WriteComponent(stream, written);
    stream.Seek(0);
    TDXSpriteEngine read;
    ReadComponent(stream, read);
    EXPECT_EQ(read.Name, "DXSpriteEngine1");
    EXPECT_EQ(read.DXDrawName(), "DXDraw1");
    EXPECT_EQ(read.DXDraw(), nullptr);
}

}  // namespace
