// The game-mode camera under the keys and the mouse at the screen edges, and the F key's frame rate.
#include <gtest/gtest.h>

#include <memory>

#include "e2e/e2e_harness.h"

using nlohmann::json;

namespace {

double Yaw(const json& dump) {
    return dump["camera"]["yaw"].get<double>();
}
double Distance(const json& dump) {
    return dump["camera"]["distance"].get<double>();
}
double EyeHeight(const json& dump) {
    return dump["camera"]["eye"][1].get<double>();
}

class CameraRun : public ::testing::Test {
public:
    static void SetUpTestSuite() {
        ScriptBuilder s;
        s.Tap(2, "SPACE").Tap(4, "SPACE").Tap(6, "SPACE");
        // F in menu mode.
        s.Shot(7, "menu").KeyDown(8, "F").Shot(8, "menuF").KeyUp(9, "F").Shot(9, "menuAgain");
        s.Click(12, 479, 181);  // NOVÁ HRA; the cursor stays there, away from every edge
        // F in game mode, once the fade is over.
        s.Shot(60, "game").KeyDown(61, "F").Shot(61, "gameF").KeyUp(62, "F").Shot(62, "gameAgain");
        s.Dump(70, "start");
        s.KeyDown(71, "RIGHT").KeyUp(81, "RIGHT").Dump(85, "right");
        s.KeyDown(90, "RCONTROL").Dump(100, "rising").KeyUp(140, "RCONTROL").Dump(140, "raised");
        s.KeyDown(145, "RCONTROL").KeyUp(150, "RCONTROL").Dump(150, "raisedAgain");
        s.KeyDown(160, "RSHIFT").KeyUp(200, "RSHIFT").Dump(200, "lowered");
        s.Dump(209, "beforeEdge").Mouse(210, 799, 300).Dump(219, "rightEdge");
        s.Mouse(220, 798, 300).Dump(229, "shortOfEdge");
        s.Mouse(230, 0, 300).KeyDown(230, "RIGHT").KeyUp(240, "RIGHT").Dump(239, "leftEdgeAndRight");
        s.Mouse(240, 400, 599).Dump(244, "bottomEdge").Mouse(245, 400, 598).Dump(249, "shortOfBottom");
        s.Quit(250);
        run_ = std::make_unique<DemoRun>();
        status_ = run_->Run(s.Text());
    }
    static void TearDownTestSuite() { run_.reset(); }
    void SetUp() override { ASSERT_EQ(status_, 0) << run_->errors(); }

    static std::unique_ptr<DemoRun> run_;
    static int status_;
};
std::unique_ptr<DemoRun> CameraRun::run_;
int CameraRun::status_ = -1;

void CameraRun_StartsAtItsInitialPlace() {
    const json start = CameraRun::run_->Dump("start");
    ASSERT_EQ(start["active"], 0);
    EXPECT_NEAR(Yaw(start), -2.0, 1e-6);
    EXPECT_NEAR(Distance(start), 120.0, 1e-6);
    EXPECT_NEAR(start["camera"]["eye"][0].get<double>(), -181.86, 0.01);
    EXPECT_NEAR(EyeHeight(start), 180.0, 1e-4);
    EXPECT_NEAR(start["camera"]["eye"][2].get<double>(), -83.23, 0.01);
}

void CameraRun_RightArrowTurnsTheYawDownByAStepPerFrame() {
    // Held for frames 71 to 80: ten steps of 0.05.
    EXPECT_NEAR(Yaw(CameraRun::run_->Dump("right")), -2.0 - 10 * 0.05, 1e-4);
}

void CameraRun_RightControlRaisesTheEyeUntilItFirstReaches400() {
    EXPECT_NEAR(Distance(CameraRun::run_->Dump("rising")), 120.0 + 11 * 5.0, 1e-3);
    // 265 gives an eye at 397.5, still below 400: one more step to 270 (405), then it stops.
    const json raised = CameraRun::run_->Dump("raised");
    EXPECT_NEAR(Distance(raised), 270.0, 1e-3);
    EXPECT_NEAR(EyeHeight(raised), 405.0, 1e-3);
    EXPECT_NEAR(Distance(CameraRun::run_->Dump("raisedAgain")), 270.0, 1e-3);
}

void CameraRun_RightShiftLowersTheEyeWhileItIsAbove165() {
    // 115 gives an eye at 172.5, still above 165: one more step to 110 (165), then it stops.
    const json lowered = CameraRun::run_->Dump("lowered");
    EXPECT_NEAR(Distance(lowered), 110.0, 1e-3);
    EXPECT_NEAR(EyeHeight(lowered), 165.0, 1e-3);
}

void CameraRun_MouseTurnsAndZoomsOnlyOnTheExactEdgePixel() {
    const double before = Yaw(CameraRun::run_->Dump("beforeEdge"));
    const json rightEdge = CameraRun::run_->Dump("rightEdge");
    EXPECT_NEAR(Yaw(rightEdge), before - 10 * 0.05, 1e-4);  // x = 799 for frames 210 to 219
    EXPECT_NEAR(Yaw(CameraRun::run_->Dump("shortOfEdge")), Yaw(rightEdge), 1e-6);
    // The left edge and the right arrow together cancel.
    EXPECT_NEAR(Yaw(CameraRun::run_->Dump("leftEdgeAndRight")), Yaw(rightEdge), 1e-6);
    const json bottom = CameraRun::run_->Dump("bottomEdge");
    EXPECT_NEAR(Distance(bottom), 110.0 + 5 * 5.0, 1e-3);  // y = 599 for frames 240 to 244
    EXPECT_NEAR(Distance(CameraRun::run_->Dump("shortOfBottom")), Distance(bottom), 1e-6);
}

void CameraRun_FShowsTheFrameRateOnlyInGameMode() {
    const Picture menu = CameraRun::run_->Shot("menu"), menuF = CameraRun::run_->Shot("menuF"),
                  menuAgain = CameraRun::run_->Shot("menuAgain");
    const Picture game = CameraRun::run_->Shot("game"), gameF = CameraRun::run_->Shot("gameF"),
                  gameAgain = CameraRun::run_->Shot("gameAgain");
    ASSERT_TRUE(menu.Valid() && menuF.Valid() && menuAgain.Valid() && game.Valid() && gameF.Valid() &&
                gameAgain.Valid());
    // "FPS: 30 " is drawn at (20, 20) with the 12-pixel font.
    EXPECT_FALSE(menu.RegionDiffers(menuAgain, 15, 15, 90, 40));
    EXPECT_FALSE(menuF.RegionDiffers(menu, 15, 15, 90, 40));
    EXPECT_FALSE(game.RegionDiffers(gameAgain, 15, 15, 90, 40)) << "the corner changes by itself";
    EXPECT_TRUE(gameF.RegionDiffers(game, 15, 15, 90, 40));
    EXPECT_FALSE(gameF.RegionDiffers(game, 15, 45, 90, 90)) << "the text reaches too far down";
}

// Every check above, on the one run (a run per check would multiply the time under CTest).
TEST_F(CameraRun, Checks) {
    {
        SCOPED_TRACE("StartsAtItsInitialPlace");
        CameraRun_StartsAtItsInitialPlace();
    }
    {
        SCOPED_TRACE("RightArrowTurnsTheYawDownByAStepPerFrame");
        CameraRun_RightArrowTurnsTheYawDownByAStepPerFrame();
    }
    {
        SCOPED_TRACE("RightControlRaisesTheEyeUntilItFirstReaches400");
        CameraRun_RightControlRaisesTheEyeUntilItFirstReaches400();
    }
    {
        SCOPED_TRACE("RightShiftLowersTheEyeWhileItIsAbove165");
        CameraRun_RightShiftLowersTheEyeWhileItIsAbove165();
    }
    {
        SCOPED_TRACE("MouseTurnsAndZoomsOnlyOnTheExactEdgePixel");
        CameraRun_MouseTurnsAndZoomsOnlyOnTheExactEdgePixel();
    }
    {
        SCOPED_TRACE("FShowsTheFrameRateOnlyInGameMode");
        CameraRun_FShowsTheFrameRateOnlyInGameMode();
    }
}

}  // namespace
