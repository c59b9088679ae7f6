// The PostScript device settings sent by the host through the 'z' 'p'
// options.  Texts keep exactly the bytes the host sent (a terminating zero
// byte included when the host counts it).
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace tgd {

struct PostScriptSettings {
    std::vector<std::string> prolog;  // 'A' 'p'
    std::vector<std::string> fonts;   // 'f'
    std::vector<char> font_needed;    // per font: used somewhere in the document
    std::vector<char> font_on_page;   // per font: announced on the current page
    std::string outfile;              // 'o'
    bool has_outfile = false;
    int outfile_seq = 0;
    std::string print_command;  // 'C'
    bool has_print_command = false;
    std::vector<std::string> bu_lines;     // 'A' 'B'
    std::vector<std::string> setup_lines;  // 'A' 's'
    std::vector<std::string> bw_lines;     // 'A' 'b'
    std::string title;                     // 't'
    bool has_title = false;
    std::vector<float> gcolors;  // 'c' 'g': ngcolors rows of gcolor_width values
    int ngcolors = 0, gcolor_width = 0;
    std::vector<float> icolors;  // 'c' 'i'
    int nicolors = 0, icolor_width = 0;
    int back_index = 0;         // 'a'
    std::vector<float> bcolor;  // 'c' 'b': nbcolor values
    int nbcolor = 0;
    std::array<float, 4> region{};                             // 'r': x0, y0, x1, y1 in points
    float width = 0, height = 0;                               // 'w', 'h'
    int rasters = 0;                                           // 'R'
    int font_flag = 0;                                         // 'F'
    float point_size = 0;                                      // 'P'
    int dsc_level = 0;                                         // 'd'
    int path_limit = 0;                                        // 'v'
    int append = 0, landscape = 0, maximize = 0, onefile = 0;  // 'l' 'a', 'h', 'm', 'o'
    short pver_found = 0;

    int nprolog() const { return static_cast<int>(prolog.size()); }
    int nfonts() const { return static_cast<int>(fonts.size()); }
    int nbu() const { return static_cast<int>(bu_lines.size()); }
    int nsetup() const { return static_cast<int>(setup_lines.size()); }
    int nbw() const { return static_cast<int>(bw_lines.size()); }

    // The settings in force after the host's first initialisation.
    static PostScriptSettings defaults() {
        PostScriptSettings p;
        p.rasters = 300;
        p.font_flag = 1;
        p.point_size = 14.0f;
        p.dsc_level = 300;
        p.path_limit = 750;
        p.back_index = -1;
        return p;
    }
};

extern PostScriptSettings ps_par;

// The text of a stored option string: the bytes up to the first zero byte
// (the host sends the terminator as part of the text).
std::string_view c_text(const std::string& s);

// Called by the 'Z' option; the device has nothing to update.
void ps_optchange();

}  // namespace tgd
