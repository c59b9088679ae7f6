// 'z' 'p': the PostScript options the host sends, stored into ps_par.
#include <cstring>

#include "driver/command_loop.h"
#include "driver/state.h"
#include "driver/wire.h"
#include "settings/ps_par.h"

namespace tgd {

namespace {
// A matrix: int n; int m; n*m 4-byte values in one block.
std::vector<float> read_matrix(int& n, int& m) {
    n = read_int();
    m = read_int();
    long long count = n < 0 || m < 0 ? -1 : static_cast<long long>(n) * m;
    Block<float> block = read_block<float>(count);
    return {block.begin(), block.end()};
}

void read_text_option(std::string& field, bool& present) {
    field = read_text(read_int());
    present = true;
}

void read_line_list() {
    char kind = read_byte();
    std::vector<std::string> lines = read_strings();
    switch (kind) {
        case 'p': ps_par.prolog = std::move(lines); break;
        case 'B': ps_par.bu_lines = std::move(lines); break;
        case 's': ps_par.setup_lines = std::move(lines); break;
        case 'b': ps_par.bw_lines = std::move(lines); break;
        default: break;  // read and kept nowhere
    }
}

void read_color_table() {
    char kind = read_byte();
    int n = 0, m = 0;
    std::vector<float> values = read_matrix(n, m);
    switch (kind) {
        case 'b':
            ps_par.bcolor = std::move(values);
            ps_par.nbcolor = m;
            break;
        case 'g':
            ps_par.gcolors = std::move(values);
            ps_par.ngcolors = n;
            ps_par.gcolor_width = m;
            break;
        case 'i':
            ps_par.icolors = std::move(values);
            ps_par.nicolors = n;
            ps_par.icolor_width = m;
            break;
        default: break;
    }
}

void read_layout_flag() {
    char kind = read_byte();
    int* field = nullptr;
    switch (kind) {
        case 'a': field = &ps_par.append; break;
        case 'h': field = &ps_par.landscape; break;
        case 'm': field = &ps_par.maximize; break;
        case 'o': field = &ps_par.onefile; break;
        default: return;  // nothing more is read
    }
    *field = read_int();
}
}  // namespace

void op_ps_option() {
    char option = read_byte();
    switch (option) {
        case 'A': read_line_list(); break;
        case 'a':
            ps_par.back_index = read_int();
            // A background index replaces the background colour.
            if (ps_par.nbcolor > 0 && !ps_par.bcolor.empty()) {
                ps_par.bcolor.clear();
                ps_par.nbcolor = 0;
            }
            break;
        case 'c': read_color_table(); break;
        case 'C': read_text_option(ps_par.print_command, ps_par.has_print_command); break;
        case 'd': ps_par.dsc_level = read_int(); break;
        case 'f': {
            ps_par.fonts = read_strings();
            ps_par.font_needed.assign(ps_par.fonts.size(), 0);
            ps_par.font_on_page.assign(ps_par.fonts.size(), 0);
            break;
        }
        case 'F': ps_par.font_flag = read_int(); break;
        case 'h': ps_par.height = read_real(); break;
        case 'l': read_layout_flag(); break;
        case 'o':
            read_text_option(ps_par.outfile, ps_par.has_outfile);
            ps_par.outfile_seq = 0;
            break;
        case 'P': ps_par.point_size = read_real(); break;
        case 'r': {
            Block<float> region = read_block<float>(4);  // 16 bytes read at once
            std::memcpy(ps_par.region.data(), region.data(), sizeof ps_par.region);
            break;
        }
        case 'R': ps_par.rasters = read_int(); break;
        case 't': read_text_option(ps_par.title, ps_par.has_title); break;
        case 'v': ps_par.path_limit = read_int(); break;
        case 'w': ps_par.width = read_real(); break;
        case 'Z':
            read_int();
            ps_optchange();
            break;
        default: break;  // unknown options read nothing more
    }
    reply_byte(driver.which);
}

}  // namespace tgd
