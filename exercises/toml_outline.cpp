#include "exercises/toml_outline.h"

#include <vector>

namespace tarvel {
namespace {

bool isBare(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' ||
           c == '-';
}

// What comes next where a line or a bracket leaves the text.
enum class Want { Key, Value, Rest };

class Outliner {
  public:
    Outliner(std::string_view text, int limit) : s_(text), limit_(limit) {
        outline_.firstHeader = s_.size();
        if (s_.substr(0, 3) == "\xEF\xBB\xBF") i_ = 3; // the byte order mark of UTF-8
    }

    TomlOutline run() {
        while (i_ < s_.size() && outline_.tooDeepLine == 0)
            step();
        return outline_;
    }

  private:
    // An array ("]") or an inline table ("}") not yet closed, and the depth of what is in it.
    struct Open {
        char closer;
        int depth;
    };

    char at(std::size_t i) const { return i < s_.size() ? s_[i] : '\0'; }

    void reach(int depth) {
        if (depth > limit_ && outline_.tooDeepLine == 0) outline_.tooDeepLine = line_;
    }

    // Every pass consumes a character or changes what is wanted to Rest, which always
    // consumes one: the loop ends on any text.
    void step() {
        const char c = s_[i_];
        if (c == '\n') {
            ++line_;
            ++i_;
            if (open_.empty()) want_ = Want::Key;
        } else if (c == ' ' || c == '\t' || c == '\r') {
            ++i_;
        } else if (c == '#') {
            while (i_ < s_.size() && s_[i_] != '\n')
                ++i_;
        } else if ((c == ']' || c == '}') && !open_.empty() && open_.back().closer == c) {
            open_.pop_back();
            ++i_;
            want_ = Want::Rest;
        } else if (want_ == Want::Key) {
            key(c);
        } else if (want_ == Want::Value) {
            value(c);
        } else {
            rest(c);
        }
    }

    void key(char c) {
        if (c == '[' && open_.empty()) return header();
        const int depth = (open_.empty() ? headerDepth_ : open_.back().depth) + keyParts();
        reach(depth);
        if (at(i_) == '=') {
            ++i_;
            want_ = Want::Value;
            valueDepth_ = depth;
        } else {
            want_ = Want::Rest;
        }
    }

    // "[a.b]" or "[[a.b]]": the keys below it start that deep, one more for an array's table.
    void header() {
        if (outline_.firstHeader == s_.size()) outline_.firstHeader = i_;
        ++i_;
        const bool arrayOfTables = at(i_) == '[';
        if (arrayOfTables) ++i_;
        headerDepth_ = keyParts() + (arrayOfTables ? 1 : 0);
        reach(headerDepth_);
        want_ = Want::Rest;
    }

    // The parts of a dotted key, bare or quoted, with spaces around the dots.
    int keyParts() {
        int parts = 0;
        for (;;) {
            skipBlanks();
            const char c = at(i_);
            if (c == '"' || c == '\'') {
                skipString(c);
            } else if (isBare(c)) {
                while (isBare(at(i_)))
                    ++i_;
            } else {
                return parts;
            }
            ++parts;
            skipBlanks();
            if (at(i_) != '.') return parts;
            ++i_;
        }
    }

    void value(char c) {
        if (c == '[') {
            ++i_;
            open_.push_back({']', ++valueDepth_});
            reach(valueDepth_);
        } else if (c == '{') {
            ++i_;
            open_.push_back({'}', valueDepth_});
            want_ = Want::Key;
        } else if (c == '"' || c == '\'') {
            skipString(c);
            want_ = Want::Rest;
        } else {
            // A number, a date, true or false, or something the parser will refuse.
            while (i_ < s_.size() &&
                   std::string_view(" \t\r\n#,[]{}\"'").find(s_[i_]) == std::string_view::npos)
                ++i_;
            want_ = Want::Rest;
        }
    }

    // After a value: a comma leads to the next key of an inline table or the next element of
    // an array; anything else is passed over, a string whole.
    void rest(char c) {
        if (c == '"' || c == '\'') return skipString(c);
        ++i_;
        if (c != ',' || open_.empty()) return;
        if (open_.back().closer == '}') {
            want_ = Want::Key;
        } else {
            want_ = Want::Value;
            valueDepth_ = open_.back().depth;
        }
    }

    void skipBlanks() {
        while (at(i_) == ' ' || at(i_) == '\t')
            ++i_;
    }

    // A string of any of the four kinds, from its opening quote. A single-line one ends at the
    // line's end at the latest, which the main loop then counts.
    void skipString(char quote) {
        const bool multiLine = at(i_ + 1) == quote && at(i_ + 2) == quote;
        i_ += multiLine ? 3 : 1;
        while (i_ < s_.size()) {
            const char c = s_[i_];
            if (c == '\n') {
                if (!multiLine) return;
                ++line_;
            } else if (c == '\\' && quote == '"') {
                if (at(i_ + 1) == '\n' && !multiLine) return;
                ++i_;
                if (at(i_) == '\n') ++line_;
            } else if (c == quote && (!multiLine || (at(i_ + 1) == quote && at(i_ + 2) == quote))) {
                i_ += multiLine ? 3 : 1;
                // Up to two quotes of the text itself may stand right before the closing three.
                for (int extra = 0; multiLine && extra < 2 && at(i_) == quote; ++extra)
                    ++i_;
                return;
            }
            ++i_;
        }
    }

    std::string_view s_;
    int limit_;
    TomlOutline outline_;
    std::size_t i_ = 0;
    int line_ = 1;
    Want want_ = Want::Key;
    int headerDepth_ = 0;
    int valueDepth_ = 0;
    std::vector<Open> open_;
};

} // namespace

TomlOutline outlineToml(std::string_view text, int depthLimit) {
    return Outliner(text, depthLimit).run();
}

} // namespace tarvel
