#include "host/runner.h"

#include <cstdarg>
#include <cstdint>

namespace tgdhost {

namespace {
// printf into a string; the C locale's number format, as tgd's own.
std::string format(const char* f, ...) {
    char buf[512];
    va_list args;
    va_start(args, f);
    std::vsnprintf(buf, sizeof buf, f, args);
    va_end(args);
    return buf;
}

std::string point(float x, float y) { return format("(%g, %g)", x, y); }
}  // namespace

Runner::Runner(HostSession& tgd, TerminalPump& pump, std::FILE* report, std::string where)
    : tgd_(tgd), pump_(pump), out_(report), where_(std::move(where)) {}

void Runner::report(const Operation& op, const std::string& reply) {
    pump_.service();
    std::fprintf(out_, "%s %d: %s -> %s\n", where_.c_str(), op.line, op.label.c_str(), reply.c_str());
    for (const auto& m : pump_.take_messages()) std::fprintf(out_, "    tgd: %s\n", m.c_str());
    std::fflush(out_);
}

bool Runner::replied(const Operation& op, char expected, char reply) {
    if (reply == expected) return true;
    ++abandoned_;
    report(op, reply == 'A'   ? "A (abandoned)"
               : reply == 'B' ? "B (interrupted)"
                              : format("unexpected reply byte %d", static_cast<unsigned char>(reply)));
    return false;
}

void Runner::points_reply(const Operation& op, char letter, const char* what) {
    char reply = tgd_.read_byte();
    if (!replied(op, letter, reply)) return;
    std::vector<float> p = tgd_.read_reals(2);
    report(op, format("%c, %s %s", letter, what, point(p[0], p[1]).c_str()));
}

void Runner::run(const Operation& op) {
    const auto n = [](const std::vector<float>& v) { return static_cast<std::int32_t>(v.size()); };
    switch (op.kind) {
        case OpKind::Init: {
            if (op.values.empty()) {
                tgd_.send_byte('I');
            } else {
                tgd_.send_byte('M');
                tgd_.send_int(n(op.values));
                tgd_.send_reals(op.values);
            }
            std::vector<float> b = tgd_.read_reals(200);
            report(op, format("parameter block: device %gx%g inches, x = %g + %g*u, y = %g + %g*u", b[97], b[98], b[35],
                              b[36], b[37], b[38]));
            return;
        }
        case OpKind::Change:
            tgd_.send_byte('D');
            tgd_.send_int(n(op.values));
            tgd_.send_reals(op.values);
            if (replied(op, 'D', tgd_.read_byte())) report(op, "D");
            return;
        case OpKind::Lines:
        case OpKind::Points:
        case OpKind::Polygon: {
            const char letter = op.kind == OpKind::Lines ? 'L' : op.kind == OpKind::Points ? 'P' : 'G';
            tgd_.send_byte(letter);
            tgd_.send_int(n(op.x));
            tgd_.send_reals(op.x);
            tgd_.send_reals(op.y);
            return points_reply(op, letter, "last point");
        }
        case OpKind::Segments:
            tgd_.send_byte('S');
            tgd_.send_int(n(op.x));
            for (const auto* v : {&op.x, &op.y, &op.x2, &op.y2}) tgd_.send_reals(*v);
            return points_reply(op, 'S', "last point");
        case OpKind::Text:
            tgd_.send_byte('T');
            tgd_.send_int(static_cast<std::int32_t>(op.text.size()));
            tgd_.send_reals({op.tx, op.ty, op.justification});
            tgd_.send(op.text.data(), op.text.size());
            return points_reply(op, 'T', "text ends at");
        case OpKind::Image:
            tgd_.send_byte('i');
            tgd_.send_int(n(op.x));
            tgd_.send_reals(op.x);
            tgd_.send_int(n(op.y));
            tgd_.send_reals(op.y);
            tgd_.send_int(n(op.values));
            tgd_.send_reals(op.values);
            tgd_.send_reals({op.low, op.high, op.missing});
            if (replied(op, 'i', tgd_.read_byte())) report(op, "i");
            return;
        case OpKind::Print:
            tgd_.send_byte('s');
            tgd_.send_text(op.text);
            if (replied(op, 's', tgd_.read_byte())) report(op, "s");
            return;
        case OpKind::PsOption:
            tgd_.send("zp", 2);
            tgd_.send(op.raw.data(), op.raw.size());
            if (replied(op, 'z', tgd_.read_byte())) report(op, "z");
            return;
        case OpKind::Deferred:
            tgd_.send_byte('C');
            tgd_.send_int(op.count);
            tgd_.send_text(op.text);
            if (replied(op, 'C', tgd_.read_byte())) report(op, "C");
            return;
        case OpKind::Locator: {
            tgd_.send("qw", 2);
            if (!replied(op, 'q', tgd_.read_byte())) return;
            std::vector<float> p = tgd_.read_reals(2);
            std::int32_t key = tgd_.read_int();
            report(op, format("q, %s key %d", point(p[0], p[1]).c_str(), key));
            return;
        }
        case OpKind::LocatorPoints: {
            tgd_.send_byte('Q');
            tgd_.send_int(op.count);
            if (!replied(op, 'Q', tgd_.read_byte())) return;
            std::int32_t k = tgd_.read_int();
            std::string r = format("Q, %d point%s", k, k == 1 ? "" : "s");
            if (k > 0 && k <= op.count) {
                std::vector<float> x = tgd_.read_reals(static_cast<std::size_t>(k));
                std::vector<float> y = tgd_.read_reals(static_cast<std::size_t>(k));
                for (std::size_t i = 0; i < x.size(); ++i) r += " " + point(x[i], y[i]);
            }
            report(op, r);
            return;
        }
        case OpKind::NewFrame:
        case OpKind::Refresh:
        case OpKind::Sync:
        case OpKind::WrapUp: {
            const char letter = op.kind == OpKind::NewFrame  ? 'E'
                                : op.kind == OpKind::Refresh ? 'd'
                                : op.kind == OpKind::Sync    ? 'W'
                                                             : 'X';
            tgd_.send_byte(letter);
            if (replied(op, letter, tgd_.read_byte())) report(op, std::string(1, letter));
            return;
        }
        case OpKind::Answer: pump_.queue_answer(op.answer, op.text); return;
    }
}

}  // namespace tgdhost
