// The terminal device's answers to the interactive operations it cannot
// really perform, and the device hooks of the replays.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tgd {

struct SpinPlot;
struct BrushRecord;
struct SpinRecord;

// Second kind of locator request: warns once, then reads like zquxyz_.
void zquxyznw_(int& ix, int& iy, int& key);
void zsmodz_(char mode);  // text or graphics mode: nothing to do here
void zhookz_(int type, int* a, int na, int* b, int nb);
void zscolz_(int n, const int* a, const int* b, const int* c, const int* d);

// Brushing and spinning: this device refuses both.  The arguments are the
// display-list entry's own copies, in the order the command loop hands
// them over; a device that brushes sets a non-zero flag for each selected
// point and count to their number.
void zbrshz_(const float* data, int nr, int nc, int p, int q, const int* label_offsets, const char* labels,
             const int* point_label_offsets, const char* point_labels, int* work, int* zero_block, int* flags,
             int& count, SpinPlot& plot, int mode);
void zspinz_(const float* data, int nr, int nc, const int* label_offsets, const char* labels, int option, int* values,
             SpinPlot& plot, int mode);

// The same, handed a brush or spin entry whole (mode 1 live, 2 redisplay).
void zbrshz_(BrushRecord& entry, int mode);
void zspinz_(SpinRecord& entry, int mode);

// The print operation's entry: hands the options text to the printing.
void zsavez_(std::string_view options);

// The pick-from-menu dialogue: items[0] is the title, items 1 to n-1 the
// choices.  Returns the choice picked, 0 for none.
int zmenuz(const std::vector<std::string>& items);

// Replay hooks: the terminal is never exposed again behind the driver's
// back, and printing does not dim it.
int newly_exposed();
void dim_display();
void undim_display();

}  // namespace tgd
