// The command loop: reads operations from descriptor 15, performs them and
// answers on descriptor 16.
#pragma once

namespace tgd {

// Runs until end of file (or a read error) on descriptor 15; returns the
// process's exit status.
int device();

// Start-up: SIGINT ignored (its disposition kept), SIGQUIT ignored.
void start_up();

// Operations of the interactive kind, each reading its own arguments.
void op_read_points();  // 'Q'
void op_read_point();   // 'q'
void op_mode();         // 'm'
void op_hook();         // 'h'
void op_brush();        // 'b'
void op_spin();         // 'r'
void op_color_map();    // 'c'
void op_menu();         // 'z' 'm'
void op_ps_option();    // 'z' 'p'

// Writes the batch message of a locator, brushing or spinning operation
// and abandons it when drawing does not go to the live terminal.
void require_live(const char* batch_message);

}  // namespace tgd
