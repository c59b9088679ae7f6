#include "host/recording.h"

#include <charconv>
#include <cmath>
#include <stdexcept>

namespace tgdhost {

namespace {

struct RecordError : std::runtime_error {
    int line;
    RecordError(int l, const std::string& what) : std::runtime_error(what), line(l) {}
};

class Lines {
public:
    explicit Lines(std::string_view text) : text_(text) {}

    bool next(std::string_view& line) {
        if (pos_ >= text_.size()) return false;
        std::size_t nl = text_.find('\n', pos_);
        if (nl == std::string_view::npos) nl = text_.size();
        line = text_.substr(pos_, nl - pos_);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        pos_ = nl + 1;
        ++number_;
        return true;
    }
    std::string_view need(const char* what) {
        std::string_view line;
        if (!next(line)) throw RecordError(number_, std::string("the file ends inside a ") + what + " record");
        return line;
    }
    int number() const { return number_; }

private:
    std::string_view text_;
    std::size_t pos_ = 0;
    int number_ = 0;
};

std::vector<std::string_view> fields(std::string_view line) {
    std::vector<std::string_view> f;
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
        std::size_t start = i;
        while (i < line.size() && line[i] != ' ' && line[i] != '\t') ++i;
        if (i > start) f.push_back(line.substr(start, i - start));
    }
    return f;
}

float real(std::string_view s, int line) {
    float v = 0;
    auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    if (ec != std::errc() || p != s.data() + s.size() || !std::isfinite(v))
        throw RecordError(line, "'" + std::string(s) + "' is not a number");
    return v;
}

int count(std::string_view s, int line, const char* record) {
    int v = 0;
    auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    if (ec != std::errc() || p != s.data() + s.size() || v < 0 || v > 100000000)
        throw RecordError(line, std::string(record) + ": '" + std::string(s) + "' is not a count");
    return v;
}

// A data line of exactly n numbers.
std::vector<float> numbers(Lines& in, std::size_t n, const char* record) {
    std::string_view line = in.need(record);
    std::vector<std::string_view> f = fields(line);
    if (f.size() != n)
        throw RecordError(in.number(), std::string(record) + ": " + std::to_string(n) + " numbers expected, found " +
                                           std::to_string(f.size()));
    std::vector<float> v;
    for (auto s : f) v.push_back(real(s, in.number()));
    return v;
}

// An entry number of a "diff" or "par" line: a whole number 1 to 200.
float entry(float v, int line) {
    if (v != std::floor(v) || v < 1 || v > 200) throw RecordError(line, "parameter entry out of range 1 to 200");
    return v;
}

void read_record(Lines& in, std::string_view line, std::vector<Operation>& ops, bool& ended) {
    std::vector<std::string_view> f = fields(line);
    const int at = in.number();
    const std::string keyword(f[0]);
    auto arguments = [&](std::size_t n) {
        if (f.size() != n + 1)
            throw RecordError(at, "'" + keyword + "' needs " + std::to_string(n) + " number" + (n == 1 ? "" : "s"));
    };
    Operation op;
    op.line = at;
    if (keyword == "lines" || keyword == "points" || keyword == "polygon") {
        arguments(1);
        int n = count(f[1], at, keyword.c_str());
        op.kind = keyword == "lines" ? OpKind::Lines : keyword == "points" ? OpKind::Points : OpKind::Polygon;
        for (int i = 0; i < n; ++i) {
            std::vector<float> v = numbers(in, 2, keyword.c_str());
            op.x.push_back(v[0]);
            op.y.push_back(v[1]);
        }
        op.label = keyword + " (" + std::to_string(n) + (n == 1 ? " point)" : " points)");
    } else if (keyword == "segs") {
        arguments(1);
        int n = count(f[1], at, "segs");
        op.kind = OpKind::Segments;
        for (int i = 0; i < n; ++i) {
            std::vector<float> v = numbers(in, 4, "segs");
            op.x.push_back(v[0]);
            op.y.push_back(v[1]);
            op.x2.push_back(v[2]);
            op.y2.push_back(v[3]);
        }
        op.label = "segments (" + std::to_string(n) + ")";
    } else if (keyword == "text") {
        arguments(4);
        op.kind = OpKind::Text;
        op.tx = real(f[1], at);
        op.ty = real(f[2], at);
        op.justification = real(f[3], at);
        const int n = count(f[4], at, "text");
        std::string_view s = in.need("text");
        // The writer drops trailing blanks; the count brings them back.
        if (s.size() > static_cast<std::size_t>(n))
            throw RecordError(in.number(), "text: the string is longer than the " + std::to_string(n) +
                                               " characters its record announces");
        op.text = std::string(s);
        op.text.resize(static_cast<std::size_t>(n), ' ');
        op.label = "text \"" + op.text + "\"";
    } else if (keyword == "diff") {
        arguments(1);
        int m = count(f[1], at, "diff");
        if (m % 2 != 0) throw RecordError(at, "diff: the count of numbers must be even");
        op.kind = OpKind::Change;
        for (int i = 0; i < m / 2; ++i) {
            std::vector<float> v = numbers(in, 2, "diff");
            op.values.push_back(entry(v[0], in.number()));
            op.values.push_back(v[1]);
        }
        op.label = "diff (" + std::to_string(m / 2) + (m == 2 ? " parameter)" : " parameters)");
    } else if (keyword == "par") {
        arguments(1);
        // The count after "par" does not count the lines that follow; the
        // record is the run of "entry value" lines up to the next keyword.
        op.kind = OpKind::Change;
        Lines look = in;
        std::string_view next;
        while (look.next(next) && !next.empty() && (next[0] == ' ' || next[0] == '\t')) {
            std::vector<float> v = numbers(in, 2, "par");
            op.values.push_back(entry(v[0], in.number()));
            op.values.push_back(v[1]);
            look = in;
        }
        op.label = "par (" + std::to_string(op.values.size() / 2) + " parameters)";
        ops.push_back(op);
        op = Operation{};
        op.line = at;
        op.kind = OpKind::NewFrame;
        op.label = "new frame after an empty one";
    } else if (keyword == "eject") {
        arguments(0);
        op.kind = OpKind::NewFrame;
        op.label = "eject";
    } else if (keyword == "end") {
        arguments(0);
        ended = true;
        return;
    } else {
        throw RecordError(at, "unknown record '" + keyword + "'");
    }
    ops.push_back(std::move(op));
}

bool draws(const Operation& op) {
    return op.kind == OpKind::Lines || op.kind == OpKind::Points || op.kind == OpKind::Polygon ||
           op.kind == OpKind::Segments || op.kind == OpKind::Text;
}

}  // namespace

Recording read_recording(std::string_view text) {
    Recording r;
    Lines in(text);
    std::string_view line;
    bool ended = false;
    try {
        while (!ended && in.next(line)) {
            if (fields(line).empty()) continue;
            if (line[0] == ' ' || line[0] == '\t')
                throw RecordError(in.number(), "a number line where a record keyword was expected");
            read_record(in, line, r.operations, ended);
        }
    } catch (const RecordError& e) {
        r.error = ScriptError{e.line, e.what()};
    }
    return r;
}

std::vector<Operation> replay_operations(const Recording& recording, const std::string& print_method) {
    std::vector<Operation> ops;
    Operation init;
    init.kind = OpKind::Init;
    init.label = "init";
    ops.push_back(init);
    if (print_method == "postscript") {
        // The page region the statistics system sends before printing:
        // Letter, in points.
        ops.push_back(parse_script("ps region 0 0 612 792").operations.at(0));
    }
    bool drawn = false;
    auto print = [&](int line) {
        if (print_method.empty() || !drawn) return;
        Operation p;
        p.kind = OpKind::Print;
        p.line = line;
        PrintRequest request;
        request.method = print_method;
        p.text = printing_options(request);
        p.label = "print " + print_method;
        ops.push_back(p);
    };
    for (const Operation& op : recording.operations) {
        if (op.kind == OpKind::NewFrame) {
            print(op.line);
            drawn = false;
        }
        drawn = drawn || draws(op);
        ops.push_back(op);
    }
    const int last = recording.operations.empty() ? 0 : recording.operations.back().line;
    print(last);
    Operation wrap;
    wrap.kind = OpKind::WrapUp;
    wrap.line = last;
    wrap.label = "wrap up";
    ops.push_back(wrap);
    return ops;
}

}  // namespace tgdhost
