// Operations a test sends the way the host does, and small helpers for
// reading what tgd produced.
#pragma once

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "harness/tgd_process.h"

namespace tgdtest {

// 'W' must be answered with 'W' and nothing else may be waiting: the
// driver read exactly what was sent before.
inline void expect_in_step(TgdProcess& tgd) {
    tgd.send_byte('W');
    EXPECT_EQ(tgd.read_byte(), 'W');
    EXPECT_FALSE(tgd.reply_ready(50));
}

// 'G', 'L' or 'P' with its point arrays; the reply is left to the caller.
inline void send_xy(TgdProcess& tgd, char op, const std::vector<float>& x, const std::vector<float>& y) {
    tgd.send_byte(op);
    tgd.send_int(static_cast<int>(x.size()));
    tgd.send_reals(x);
    tgd.send_reals(y);
}

// The same, expecting the normal reply (the letter and the last point).
inline void draw_xy(TgdProcess& tgd, char op, const std::vector<float>& x, const std::vector<float>& y) {
    send_xy(tgd, op, x, y);
    ASSERT_EQ(tgd.read_byte(), op);
    tgd.read_reals(2);
}

// 'M' with a first device parameter of 0: a new frame does not wait for
// Return.
inline void initialise_without_wait(TgdProcess& tgd) {
    tgd.send_byte('M');
    tgd.send_int(1);
    tgd.send_reals({0.0f});
    tgd.read_reals(200);
}

inline void send_change(TgdProcess& tgd, const std::vector<float>& pairs) {
    tgd.send_byte('D');
    tgd.send_int(static_cast<int>(pairs.size()));
    tgd.send_reals(pairs);
    ASSERT_EQ(tgd.read_byte(), 'D');
}

// An operation without arguments answered with its own letter.
inline void send_letter(TgdProcess& tgd, char op) {
    tgd.send_byte(op);
    ASSERT_EQ(tgd.read_byte(), op);
}

// 'z' 'p' and a PostScript option letter; the option's data follows.
inline void send_ps_option(TgdProcess& tgd, char letter) {
    tgd.send_byte('z');
    tgd.send_byte('p');
    tgd.send_byte(letter);
}

// A list of texts: int n, then n times (int len; text(len)).
inline void send_strings(TgdProcess& tgd, const std::vector<std::string>& list) {
    tgd.send_int(static_cast<int>(list.size()));
    for (const auto& s : list) tgd.send_text(s);
}

// 's' with a printing-options text.
inline void print(TgdProcess& tgd, const std::string& options) {
    tgd.send_byte('s');
    tgd.send_text(options);
    ASSERT_EQ(tgd.read_byte(), 's');
}

inline std::string read_file(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

inline std::vector<std::string> lines_of(const std::string& text) {
    std::istringstream in(text);
    std::vector<std::string> lines;
    for (std::string l; std::getline(in, l);) lines.push_back(l);
    return lines;
}

inline std::size_t count_of(const std::string& text, const std::string& part) {
    std::size_t n = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
    return n;
}

}  // namespace tgdtest
