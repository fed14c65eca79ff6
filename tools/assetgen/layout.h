// Where each part of a model finds its picture in the model's texture: shared by the texture painters
// and the model builders, in pixels of the texture.
#pragma once

struct PixRect {
    int x, y, w, h;
};

// Bus bodies (two-cell, articulated, trolleybus): 512 x 512.
namespace bus_tex {
inline constexpr int kSize = 512;
inline constexpr PixRect kSideRight{0, 0, 512, 128};   // the door side (+x); front at the right
inline constexpr PixRect kSideLeft{0, 128, 512, 128};  // -x; front at the left
inline constexpr PixRect kRoof{0, 256, 512, 128};      // seen from above, front at the right, -x at the top
inline constexpr PixRect kFront{0, 384, 192, 128};
inline constexpr PixRect kBack{192, 384, 192, 128};
inline constexpr PixRect kMisc{384, 384, 128, 128};  // 4 x 4 swatches of 32 pixels
// Swatches of kMisc.
enum Swatch {
    kUnder = 0,
    kBellows = 1,
    kPole = 2,
    kBlack = 3,
    kBody = 4,
    kRoofUnit = 5,
    kStripe = 6,
    kGlass = 7
};
// Vertical layout of the sides as fractions of the side height (top = 0): windows and wheel arches.
inline constexpr float kWindowTop = 0.10f, kWindowBottom = 0.55f;
}  // namespace bus_tex

// Interiors (and the articulated bus's wheels): 256 x 256.
namespace interior_tex {
inline constexpr int kSize = 256;
inline constexpr PixRect kFabric{0, 0, 128, 128};
inline constexpr PixRect kFloor{128, 0, 128, 128};
inline constexpr PixRect kSwatches{0, 128, 128, 128};  // 4 x 4 of 32 pixels
inline constexpr PixRect kWheel{128, 128, 128, 128};   // wheel face; its tyre ring is the tread colour
enum Swatch {
    kFloorGrey = 0,
    kPoleYellow,
    kSkin,
    kHairBrown,
    kShirtBlue,
    kShirtRed,
    kShirtGreen,
    kShirtYellow,
    kDash,
    kTrousers,
    kWall,
    kHairBlonde,
    kHairBlack,
    kWhite,
    kFrame,
    kLamp
};
}  // namespace interior_tex

// Wheels of the two-cell bus: 128 x 128, the whole picture is the wheel's face.
namespace wheel_tex {
inline constexpr int kSize = 128;
}

// Cars: 256 x 256.
namespace car_tex {
inline constexpr int kSize = 256;
inline constexpr PixRect kSide{0, 0, 256, 64};  // front at the right
inline constexpr PixRect kTop{0, 64, 256, 64};  // bonnet, roof and boot from above, front at the right
inline constexpr PixRect kFront{0, 128, 128, 64};
inline constexpr PixRect kBack{128, 128, 128, 64};
inline constexpr PixRect kCabinSide{0, 192, 128, 64};   // side windows, front at the right
inline constexpr PixRect kSwatches{128, 192, 128, 64};  // 4 x 2 of 32 pixels
enum Swatch { kTyre = 0, kHub, kGlass, kChrome, kBodyColour, kDark, kLight, kRed };
}  // namespace car_tex

// Barrier and wall: 256 x 256.
namespace barrier_tex {
inline constexpr int kSize = 256;
inline constexpr PixRect kStripes{0, 0, 256, 64};
inline constexpr PixRect kWallFace{0, 64, 256, 64};
inline constexpr PixRect kConcrete{0, 128, 128, 128};
inline constexpr PixRect kHedge{128, 128, 128, 64};
inline constexpr PixRect kSwatches{128, 192, 128, 64};  // 4 x 2 of 32 pixels
enum Swatch { kPost = 0, kYellow, kDark, kRed, kSoil, kWhite, kLamp, kGrey };
}  // namespace barrier_tex

// Markers: 128 x 128.
namespace marker_tex {
inline constexpr int kSize = 128;
inline constexpr PixRect kHead{0, 0, 128, 64};
inline constexpr PixRect kShaft{0, 64, 128, 64};
}  // namespace marker_tex
