// Every bitmap resource the executable carries: its id, the size and bit depth of its BMP file, and the
// painter in tools/assetgen that draws it. The generator paints exactly this list; the tests check the
// embedded table against it.
#pragma once

struct BitmapSpec {
    int id;
    int width;
    int height;
    int bitDepth;         // 24 (true colour) or 8 (palettised)
    const char* painter;  // name of the painting routine in tools/assetgen
};

inline constexpr BitmapSpec kBitmapTable[] = {
    // Window icon.
    {107, 64, 64, 24, "icon"},
    // Menus and overlays.
    {135, 512, 128, 24, "message_box"},
    {136, 16, 16, 24, "black"},
    {137, 312, 70, 24, "button"},  // NOVÁ HRA lit
    {138, 312, 70, 24, "button"},  // NOVÁ HRA lit, second phase
    {139, 312, 70, 24, "button"},  // NOVÁ HRA dark
    {140, 312, 70, 24, "button"},  // HESLO
    {141, 312, 70, 24, "button"},
    {142, 312, 70, 24, "button"},
    {143, 312, 70, 24, "button"},  // KREDITY
    {144, 312, 70, 24, "button"},
    {145, 312, 70, 24, "button"},
    {146, 312, 70, 24, "button"},  // MOŽNOSTI
    {147, 312, 70, 24, "button"},
    {148, 312, 70, 24, "button"},
    {149, 312, 70, 24, "button"},  // EXIT
    {150, 312, 70, 24, "button"},
    {151, 312, 70, 24, "button"},
    {152, 147, 42, 24, "the_end"},
    {153, 200, 205, 24, "wheel"},
    {154, 302, 59, 24, "logo_studio"},
    {155, 512, 350, 24, "level_dialog"},
    {156, 128, 128, 24, "detail_grass"},
    {157, 411, 91, 24, "logo_partner"},
    {158, 512, 128, 24, "title"},
    {159, 253, 59, 24, "logo_engine"},
    {160, 1024, 768, 8, "menu_background"},
    {161, 34, 42, 24, "black"},
    {162, 127, 27, 24, "label"},  // Vypnutý
    {163, 255, 364, 24, "credits"},
    {164, 128, 128, 24, "detail_asphalt"},
    {165, 250, 31, 24, "label"},  // Detail scény:
    {166, 147, 27, 24, "label"},  // Maximum
    {167, 147, 27, 24, "label"},  // Optimum
    {168, 147, 27, 24, "label"},  // Minimum
    {169, 195, 35, 24, "label"},  // Vlož heslo:
    {170, 214, 25, 24, "label"},  // Obrazovka:
    {171, 147, 23, 24, "label"},  // 640x480
    {172, 147, 23, 24, "label"},  // 800x600
    {173, 147, 23, 24, "label"},  // 1024x768
    {174, 52, 24, 24, "label"},   // OK
    {175, 141, 24, 24, "label"},  // STORNO
    {176, 127, 27, 24, "label"},  // Zapnutý
    {177, 109, 27, 24, "label"},  // Zvuk:
    // Model textures (pure green is transparent).
    {178, 256, 256, 24, "tex_barrier"},
    {179, 128, 128, 24, "tex_marker"},
    {180, 32, 32, 24, "cursor"},
    {181, 512, 512, 24, "tex_trolleybus"},
    {182, 128, 128, 24, "tex_marker"},
    {183, 512, 512, 24, "tex_articulated"},
    {184, 256, 256, 24, "tex_interior"},
    {185, 512, 512, 24, "tex_bus"},
    {186, 512, 512, 24, "tex_bus"},
    {187, 512, 512, 24, "tex_bus"},
    {188, 256, 256, 24, "tex_interior"},
    {189, 128, 128, 24, "tex_wheel"},
    {190, 512, 512, 24, "tex_bus"},
    {191, 256, 256, 24, "tex_car"},
    {192, 256, 256, 24, "tex_car"},
    {193, 256, 256, 24, "tex_car"},
    // Town textures (magenta is transparent).
    {194, 256, 256, 24, "tex_grass"},
    {195, 256, 256, 24, "tex_lot_cell"},
    {196, 256, 256, 24, "tex_lot_exit"},
    {197, 256, 256, 24, "tex_road"},
    {198, 256, 256, 24, "tex_paving"},
    {199, 256, 256, 24, "tex_parking"},
    {200, 256, 256, 24, "tex_service_road"},
    {201, 128, 128, 24, "tex_concrete"},
    {202, 256, 256, 24, "tex_facade"},
    {203, 256, 256, 24, "tex_facade"},
    {204, 256, 256, 24, "tex_facade"},
    {205, 256, 256, 24, "tex_facade"},
    {206, 256, 256, 24, "tex_roof_flat"},
    {207, 256, 256, 24, "tex_roof_tiles"},
    {208, 256, 256, 24, "tex_tree"},
    {209, 256, 256, 24, "tex_conifer"},
    {210, 128, 128, 24, "tex_metal"},
    {211, 128, 128, 24, "tex_glow"},
    {212, 128, 128, 24, "tex_light_pool"},
    {213, 128, 128, 24, "tex_signal"},  // red
    {214, 128, 128, 24, "tex_signal"},  // red and amber
    {215, 128, 128, 24, "tex_signal"},  // green
    {216, 128, 128, 24, "tex_signal"},  // amber
    {217, 256, 128, 24, "tex_sign"},    // sign, frames 0 to 3
    {218, 256, 128, 24, "tex_sign"},
    {219, 256, 128, 24, "tex_sign"},
    {220, 256, 128, 24, "tex_sign"},
    {221, 256, 128, 24, "tex_hedge"},
    {222, 256, 256, 24, "tex_glass"},
    {223, 128, 128, 24, "tex_exit_apron"},
    {224, 256, 128, 24, "tex_shelter"},
    {225, 256, 256, 24, "tex_night_windows"},
    {226, 128, 128, 24, "tex_night_pool"},
};

inline constexpr int kBitmapCount = sizeof(kBitmapTable) / sizeof(kBitmapTable[0]);

// The entry of this id, or nullptr.
constexpr const BitmapSpec* FindBitmapSpec(int id) {
    for (const BitmapSpec& spec : kBitmapTable) {
        if (spec.id == id) return &spec;
    }
    return nullptr;
}
