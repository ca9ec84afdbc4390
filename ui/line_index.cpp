#include "ui/line_index.h"

#include <algorithm>
#include <bit>

// On x86-64 SSE2 is always there; elsewhere the breaks are looked for one character at a time.
#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#define TARVEL_LINES_SSE2 1
#endif

namespace tarvel {

namespace {

constexpr QChar kCr = u'\r';
constexpr QChar kLf = u'\n';

bool isBreak(QChar c) {
    return c == kCr || c == kLf;
}

// Whether a line ends at `i`: a break character that is not the CR of a CR LF pair.
bool breakEndsAt(QStringView text, qsizetype i) {
    if (!isBreak(text[i])) return false;
    return !(text[i] == kCr && i + 1 < text.size() && text[i + 1] == kLf);
}

// The first CR or LF in p[from, end), or `end`. The journal's lines are short, but most
// blocks of eight characters hold no break: those are passed over at once.
qsizetype nextBreak(const QChar* p, qsizetype from, qsizetype end) {
    qsizetype i = from;
#ifdef TARVEL_LINES_SSE2
    const __m128i cr = _mm_set1_epi16(short(u'\r'));
    const __m128i lf = _mm_set1_epi16(short(u'\n'));
    for (; i + 8 <= end; i += 8) {
        const __m128i units = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
        const int breaks =
            _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi16(units, cr), _mm_cmpeq_epi16(units, lf)));
        if (breaks != 0) return i + std::countr_zero(unsigned(breaks)) / 2;
    }
#endif
    for (; i < end; ++i)
        if (isBreak(p[i])) return i;
    return end;
}

} // namespace

qsizetype lineEnd(QStringView text, qsizetype start) {
    return nextBreak(text.data(), start, text.size());
}

qsizetype lineAfter(QStringView text, qsizetype end) {
    if (end >= text.size()) return -1;
    return text[end] == kCr && end + 1 < text.size() && text[end + 1] == kLf ? end + 2 : end + 1;
}

qsizetype lineStartAt(QStringView text, qsizetype position) {
    for (qsizetype i = std::min(position, text.size()) - 1; i >= 0; --i)
        if (breakEndsAt(text, i)) return i + 1;
    return 0;
}

qsizetype lineBefore(QStringView text, qsizetype start) {
    // Step back over the break that ends the line before, both characters of a CR LF.
    qsizetype end = start - 1;
    if (end > 0 && text[end] == kLf && text[end - 1] == kCr) --end;
    return lineStartAt(text, end);
}

// ---- LineIndex

void LineIndex::clear() {
    checkpoints_.assign(1, 0);
    count_ = 1;
    lastStart_ = 0;
    indexed_ = 0;
    longest_ = 0;
}

void LineIndex::startLine(qsizetype start) {
    lastStart_ = start;
    if (checkpointed(count_)) checkpoints_.push_back(start);
    ++count_;
}

// A line ends at `end`, its break's last character (the LF of a CR LF).
void LineIndex::endLineAt(const QChar* p, qsizetype end) {
    const bool crLf = p[end] == kLf && end > lastStart_ && p[end - 1] == kCr;
    longest_ = std::max(longest_, (crLf ? end - 1 : end) - lastStart_);
    startLine(end + 1);
}

// A break ends at every LF, and at every CR that no LF follows within what is indexed now: a
// CR LF split between two calls is counted at its CR, and its LF moves the line's start.
bool LineIndex::extend(QStringView text, qsizetype budget) {
    if (text.size() < indexed_) clear(); // not an append: start again
    const qsizetype end = text.size() - indexed_ > budget ? indexed_ + budget : text.size();
    const QChar* p = text.data();
    qsizetype i = indexed_;
    if (i > 0 && i < end && p[i] == kLf && p[i - 1] == kCr && lastStart_ == i) {
        lastStart_ = i + 1;
        if (checkpointed(count_ - 1)) checkpoints_.back() = i + 1;
        ++i;
    }
#ifdef TARVEL_LINES_SSE2
    // Sixteen characters at a time, one bit each: the journal's lines are some sixteen
    // characters long, so most blocks end one line.
    const __m128i cr = _mm_set1_epi16(short(u'\r'));
    const __m128i lf = _mm_set1_epi16(short(u'\n'));
    for (; i + 17 <= end; i += 16) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i + 8));
        const unsigned crs = unsigned(
            _mm_movemask_epi8(_mm_packs_epi16(_mm_cmpeq_epi16(a, cr), _mm_cmpeq_epi16(b, cr))));
        const unsigned lfs = unsigned(
            _mm_movemask_epi8(_mm_packs_epi16(_mm_cmpeq_epi16(a, lf), _mm_cmpeq_epi16(b, lf))));
        if ((crs | lfs) == 0) continue;
        const unsigned lfAfter = lfs >> 1 | (p[i + 16] == kLf ? 0x8000u : 0u);
        for (unsigned ends = lfs | (crs & ~lfAfter); ends != 0; ends &= ends - 1)
            endLineAt(p, i + std::countr_zero(ends));
    }
#endif
    for (; i < end; ++i)
        if (p[i] == kLf || (p[i] == kCr && !(i + 1 < end && p[i + 1] == kLf))) endLineAt(p, i);
    indexed_ = end;
    return complete(text);
}

qsizetype LineIndex::startOf(QStringView text, qsizetype i) const {
    if (i >= count_ - 1) return lastStart_;
    qsizetype start = checkpoints_[std::size_t(i / kStride)];
    for (qsizetype k = i / kStride * kStride; k < i; ++k)
        start = lineAfter(text, lineEnd(text, start));
    return start;
}

qsizetype LineIndex::lineAt(QStringView text, qsizetype position) const {
    if (position >= lastStart_) return count_ - 1;
    const auto after = std::upper_bound(checkpoints_.begin(), checkpoints_.end(), position);
    qsizetype i = qsizetype(after - checkpoints_.begin() - 1) * kStride;
    for (qsizetype start = checkpoints_[std::size_t(i / kStride)];; ++i) {
        const qsizetype next = lineAfter(text, lineEnd(text, start));
        if (i + 1 >= count_ - 1 || next > position) return next > position ? i : i + 1;
        start = next;
    }
}

QStringView LineIndex::line(QStringView text, qsizetype i) const {
    const qsizetype start = startOf(text, i);
    const qsizetype end = i + 1 < count_ ? lineEnd(text, start) : indexed_;
    return text.sliced(start, end - start);
}

qsizetype LineIndex::longestLine() const {
    return std::max(longest_, indexed_ - lastStart_);
}

} // namespace tarvel
