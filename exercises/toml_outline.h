#pragma once
// A quick look at the shape of a TOML text, before the parser sees it.
//
// toml++ builds a table for each part of a dotted key (a.b.c = 1) and of a table header
// ([a.b.c], [[a.b]]), and goes down that chain recursively: a key some tens of thousands of
// parts long, easily written in a 70 KB file, runs the parser off the end of the stack. It
// stops nested arrays and inline tables at 256 levels, but not these. The outline counts how
// deep each key reaches (header, dotted parts, the arrays and inline tables around it), aware
// of quoted keys, strings of every kind and comments, so such a file is refused first.
//
// The outline does not check the text: on text that is not TOML it may count anything, and
// the parser then reports the real mistake (it stops at the first one, before any depth).

#include <cstddef>
#include <string_view>

namespace tarvel {

struct TomlOutline {
    // The line of the first key deeper than the limit; 0 when none is.
    int tooDeepLine = 0;
    // Where the first table header ("[a]" or "[[a]]") starts: the text before it holds the
    // top-level keys. The text's size when there is no header.
    std::size_t firstHeader = 0;
};

// Looks through the text up to its end, or up to the first key deeper than `depthLimit`.
TomlOutline outlineToml(std::string_view text, int depthLimit);

} // namespace tarvel
