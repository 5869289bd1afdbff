// The arithmetic of the fixed point numbers in wide.h.
#include "wide.h"

namespace rt::wide {
namespace {

#include "trigonometry.inc"

bool IsZero(const Wide& a) {
    for (Word word : a.w) {
        if (word != 0) return false;
    }
    return true;
}

// a / d for a whole d above 0, cut off.
Wide DivideBy(Wide a, Word d) {
    DoubleWord rest = 0;
    for (Word& word : a.w) {
        const DoubleWord current = (rest << 64) | word;
        word = Word(current / d);
        rest = current % d;
    }
    return a;
}

// 64 bits of a from bit `top` down (bits numbered from 0 at 2^-320 up to 383), and whether any
// bit below them is set.
Word BitsFrom(const Wide& a, int top, bool& below) {
    const auto word = [&a](int j) -> Word {
        return j >= 0 && j < kWords ? a.w[kWords - 1 - j] : 0;
    };
    const int low = top - 63;
    if (low < 0) {
        below = false;
        return low > -64 ? word(0) << -low : 0;
    }
    const int j = low / 64, offset = low % 64;
    below = offset != 0 && (word(j) << (64 - offset)) != 0;
    for (int i = 0; i < j && !below; ++i) below = word(i) != 0;
    return offset == 0 ? word(j) : (word(j) >> offset) | (word(j + 1) << (64 - offset));
}

int TopBit(const Wide& a) {
    for (int i = 0; i < kWords; ++i) {
        if (a.w[i] != 0) return 64 * (kWords - i) - 1 - __builtin_clzll(a.w[i]);
    }
    return -1;
}

// 64 bits of 2/π from bit p on (bit 1 the first after the point; none before it).
Word TwoOverPiFrom(int p) {
    const int q = p - 1;
    if (q <= -64) return 0;
    if (q < 0) return kTwoOverPiBits[0] >> -q;
    const int i = q / 64, shift = q % 64;
    const Word next = shift != 0 ? kTwoOverPiBits[i + 1] >> (64 - shift) : 0;
    return (kTwoOverPiBits[i] << shift) | next;
}

}  // namespace

bool Less(const Wide& a, const Wide& b) {
    for (int i = 0; i < kWords; ++i) {
        if (a.w[i] != b.w[i]) return a.w[i] < b.w[i];
    }
    return false;
}

Wide Add(Wide a, const Wide& b) {
    Word carry = 0;
    for (int i = kWords - 1; i >= 0; --i) {
        const DoubleWord sum = DoubleWord(a.w[i]) + b.w[i] + carry;
        a.w[i] = Word(sum);
        carry = Word(sum >> 64);
    }
    return a;
}

Wide Subtract(Wide a, const Wide& b) {
    Word borrow = 0;
    for (int i = kWords - 1; i >= 0; --i) {
        const DoubleWord difference = DoubleWord(a.w[i]) - b.w[i] - borrow;
        a.w[i] = Word(difference);
        borrow = (difference >> 64) != 0;
    }
    return a;
}

Wide Multiply(const Wide& a, const Wide& b) {
    // Column k collects the words of weight 2^(-64 k): the low halves of the products a_i b_j
    // with i + j = k and the high halves of those with i + j = k + 1.
    DoubleWord column[kWords + 1] = {};
    for (int i = 0; i < kWords; ++i) {
        for (int j = 0; j < kWords && i + j <= kWords; ++j) {
            const DoubleWord product = DoubleWord(a.w[i]) * b.w[j];
            column[i + j] += Word(product);
            if (i + j > 0) column[i + j - 1] += product >> 64;
        }
    }
    Wide result;
    DoubleWord carry = column[kWords] >> 64;
    for (int k = kWords - 1; k >= 0; --k) {
        const DoubleWord total = column[k] + carry;
        result.w[k] = Word(total);
        carry = total >> 64;
    }
    return result;
}

Wide Divide(const Wide& a, const Wide& b) {
    // The remainder has one word more than b, for it reaches up to twice b.
    Word rest[kWords + 1] = {};
    Wide quotient;
    const auto restAtLeastB = [&] {
        if (rest[0] != 0) return true;
        for (int i = 0; i < kWords; ++i) {
            if (rest[i + 1] != b.w[i]) return rest[i + 1] > b.w[i];
        }
        return true;
    };
    // The dividend is a · 2^320: a's bits, then 320 zeros.
    for (int bit = 0; bit < 64 * kWords + kFractionBits; ++bit) {
        const int word = bit / 64;
        const Word next = word < kWords ? (a.w[word] >> (63 - bit % 64)) & 1 : 0;
        for (int i = 0; i < kWords; ++i) rest[i] = (rest[i] << 1) | (rest[i + 1] >> 63);
        rest[kWords] = (rest[kWords] << 1) | next;
        for (int i = 0; i < kWords - 1; ++i) {
            quotient.w[i] = (quotient.w[i] << 1) | (quotient.w[i + 1] >> 63);
        }
        quotient.w[kWords - 1] <<= 1;
        if (restAtLeastB()) {
            Word borrow = 0;
            for (int i = kWords; i >= 0; --i) {
                const Word subtrahend = i > 0 ? b.w[i - 1] : 0;
                const DoubleWord difference = DoubleWord(rest[i]) - subtrahend - borrow;
                rest[i] = Word(difference);
                borrow = (difference >> 64) != 0;
            }
            quotient.w[kWords - 1] |= 1;
        }
    }
    return quotient;
}

Wide WideOf(double x) {
    Wide result;
    if (x == 0) return result;
    const Word bits = BitsOf(x);
    const int biased = int(bits >> 52);
    Word m = (bits & ((Word(1) << 52) - 1)) | (biased != 0 ? Word(1) << 52 : 0);
    int shift = (biased != 0 ? biased : 1) - 1075 + kFractionBits;  // of m's last bit
    if (shift < 0) {
        m = -shift < 64 ? m >> -shift : 0;
        shift = 0;
    }
    const int last = kWords - 1 - shift / 64, offset = shift % 64;
    result.w[last] = m << offset;
    if (offset != 0 && last > 0) result.w[last - 1] = m >> (64 - offset);
    return result;
}

double Rounded(const Wide& a) {
    const int top = TopBit(a);
    bool below = false;
    const Word bits = BitsFrom(a, top, below);
    Word m = bits >> 11;
    const bool half = (bits >> 10) & 1, rest = below || (bits & 0x3ff) != 0;
    int exponent = top - kFractionBits;
    if (half && (rest || (m & 1) != 0)) ++m;
    if (m == Word(1) << 53) m >>= 1, ++exponent;
    return DoubleOf((Word(exponent + 1023) << 52) | (m & ((Word(1) << 52) - 1)));
}

TwoDoubles PairOf(const Wide& a) {
    const int top = TopBit(a);
    bool below = false;
    const double scale = TwoToThe(top - 52 - kFractionBits);
    const double hi = double(BitsFrom(a, top, below) >> 11) * scale;
    const double lo = double(BitsFrom(a, top - 53, below) >> 11) * (scale * 0x1p-53);
    return {hi, lo};
}

Wide One() {
    Wide one;
    one.w[0] = 1;
    return one;
}

Wide HalfPi() {
    Wide half = One();
    for (int i = 1; i < kWords; ++i) half.w[i] = kHalfPiFractionBits[i - 1];
    return half;
}

void SlowSineCosine(const Wide& r, Wide& sine, Wide& cosine) {
    const Wide r2 = Multiply(r, r);
    Wide added = r, taken{}, term = r;  // r - r^3/3! + r^5/5! - ...
    for (Word k = 2; !IsZero(term); k += 2) {
        term = DivideBy(Multiply(term, r2), k * (k + 1));
        Wide& sum = (k / 2) % 2 == 1 ? taken : added;
        sum = Add(sum, term);
    }
    sine = Subtract(added, taken);
    added = One(), taken = {}, term = One();  // 1 - r^2/2! + r^4/4! - ...
    for (Word k = 1; !IsZero(term); k += 2) {
        term = DivideBy(Multiply(term, r2), k * (k + 1));
        Wide& sum = ((k + 1) / 2) % 2 == 1 ? taken : added;
        sum = Add(sum, term);
    }
    cosine = Subtract(added, taken);
}

Reduced Reduce(double a) {
    // a = m · 2^k; a · 2/π = 4 m · W modulo 4, where W's bits are those of 2/π from bit k - 1
    // on (earlier bits give multiples of 4).
    const Word bits = BitsOf(a);
    const Word m = (bits & ((Word(1) << 52) - 1)) | (Word(1) << 52);
    const int k = int(bits >> 52) - 1075;
    // The fraction of m · W, 384 bits: words f[1] to f[6].
    Word f[7] = {};
    DoubleWord carry = 0;
    for (int j = 5; j >= 0; --j) {
        const DoubleWord product = DoubleWord(m) * TwoOverPiFrom(k - 1 + 64 * j) + carry;
        f[j + 1] = Word(product);
        carry = product >> 64;
    }
    // Four times it: the quadrant and the bits of t.
    Reduced r;
    r.quadrant = int(f[1] >> 62);
    for (int i = 1; i <= 6; ++i) f[i] = (f[i] << 2) | (i < 6 ? f[i + 1] >> 62 : 0);
    if ((f[1] >> 63) != 0) {  // past a half: the next quadrant, less the rest
        r.quadrant = (r.quadrant + 1) % 4;
        r.negative = true;
        Word borrow = 1;  // 2^384 - f: each word inverted, plus one
        for (int i = 6; i >= 1; --i) {
            f[i] = ~f[i] + borrow;
            borrow = borrow && f[i] == 0;
        }
    }
    for (int i = 1; i < kWords; ++i) r.t.w[i] = f[i];
    return r;
}

}  // namespace rt::wide
