// What the terminal primitives send, given what the terminal was last told.
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cmath>
#include <string>
#include <vector>

#include "kernel/capture.h"

using namespace tgd;
using tgd::test::FdCapture;

namespace {

const std::string E(1, '\x1b');

class Terminal : public ::testing::Test {
protected:
    void SetUp() override {
        tgdtest::start_terminal_kernel();
        out.take();
    }
    tgd::test::FdCapture out;
};

TEST_F(Terminal, AttributesAndPenAreSentOnlyWhenChanged) {
    zseekz_(100, 100);
    EXPECT_EQ(out.take(), E + "*m1b" + E + "*m7x" + E + "*pai#$#$Z");
    zseekz_(100, 100);  // nothing changed: nothing sent
    EXPECT_EQ(out.take(), "");
    bgrp_(bg::line_type) = 2.0f;
    zseekz_(100, 100);  // a changed line type is sent, the move is not
    EXPECT_EQ(out.take(), E + "*m8b");
    zlinez_(100, 100);
    EXPECT_EQ(out.take(), E + "*pj  Z");
    zseekz_(115, 84);
    EXPECT_EQ(out.take(), E + "*paj/0Z");
    bgrp_(bg::color) = 0.0f;
    zseekz_(115, 84);
    EXPECT_EQ(out.take(), E + "*m0x");
}

TEST_F(Terminal, FlushMakesEverythingBeSentAgain) {
    zseekz_(100, 100);
    out.take();
    zflshz_();
    zseekz_(101, 100);
    EXPECT_EQ(out.take(), E + "*m1b" + E + "*m7x" + E + "*pai#%#$Z");
}

TEST_F(Terminal, CharactersWithSizeDirectionAndCase) {
    zptchz_('0', 90.0f);
    EXPECT_EQ(out.take(), E + "*m1M" + E + "*m2N" + E + "*lO\r");
    zptchz_('a', 90.0f);
    EXPECT_EQ(out.take(), E + "*la\r");
    bgrp_(bg::char_case_mode) = 1.0f;
    bgrp_(bg::char_expansion) = 20.0f;
    zptchz_('a', 0.0f);
    EXPECT_EQ(out.take(), E + "*m8M" + E + "*m1N" + E + "*lA\r");
}

TEST_F(Terminal, PolygonFillKindsAndVertexLimits) {
    const float x[3] = {0.2f, 0.8f, 0.5f}, y[3] = {0.2f, 0.2f, 0.8f};
    // Vertices: (130, 110) (400, 110) (265, 289).
    const std::string vertices =
        "$\"#.b"
        ",0#."
        "())!";
    for (const auto& [color, fill] : {std::pair{-23.0f, E + "*m7g" + E + "*m5x"},
                                      {26.0f, E + "*m0g" + E + "*m02w"},
                                      {3.0f, E + "*m1g" + E + "*m5x"}}) {
        bgrp_(bg::color) = color;
        zpolyz_(x, y, 3);
        EXPECT_EQ(out.take(), fill + E + "*psia" + vertices + "T") << color;
    }
    std::vector<float> many(149, 0.5f);
    for (int n : {149, 2}) {
        zpolyz_(many.data(), many.data(), n);
        EXPECT_EQ(out.take(), "GR-Z Error from Routine zpolyz\nNeeds at least 3 points and at most 148\n") << n;
    }
}

// Descriptor 2 as a packet socket, so that every write() arrives as one
// message and the boundaries between writes can be seen.
class WriteCapture {
public:
    WriteCapture() {
        if (socketpair(AF_UNIX, SOCK_SEQPACKET, 0, sv_) != 0) return;
        saved_ = dup(2);
        dup2(sv_[0], 2);
    }
    ~WriteCapture() {
        if (saved_ < 0) return;
        dup2(saved_, 2);
        close(saved_);
        close(sv_[0]);
        close(sv_[1]);
    }
    WriteCapture(const WriteCapture&) = delete;
    WriteCapture& operator=(const WriteCapture&) = delete;

    std::vector<std::string> writes() {
        std::vector<std::string> all;
        char buf[512];
        for (ssize_t n; (n = recv(sv_[1], buf, sizeof buf, MSG_DONTWAIT)) > 0;) all.emplace_back(buf, n);
        return all;
    }

private:
    int sv_[2] = {-1, -1};
    int saved_ = -1;
};

TEST_F(Terminal, EverySequenceIsWrittenAtOnceOnItsOwn) {
    WriteCapture capture;
    zseekz_(100, 100);
    bgrp_(bg::color) = 26.0f;
    const float x[3] = {0.2f, 0.8f, 0.5f}, y[3] = {0.2f, 0.2f, 0.8f};
    zpolyz_(x, y, 3);
    EXPECT_EQ(capture.writes(), (std::vector<std::string>{E + "*m1b", E + "*m7x", E + "*pai#$#$Z", E + "*m0g",
                                                          E + "*m02w", E + "*psia", "$\"#.b", ",0#.", "())!", "T"}));
}

TEST_F(Terminal, HostileParameterValuesStayDefined) {
    bgrp_(bg::color) = NAN;
    bgrp_(bg::line_type) = 1e30f;
    zseekz_(10, 10);
    bgrp_(bg::color) = -INFINITY;
    const float x[3] = {0.2f, 0.8f, 0.5f}, y[3] = {0.2f, 0.2f, 0.8f};
    zpolyz_(x, y, 3);
    bgrp_(bg::char_size_unit) = 0.0f;
    zptchz_('x', NAN);
    EXPECT_FALSE(out.take().empty());
}

}  // namespace
