#include "skin/data/WinConvert.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <new>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#include <vector>

#include "platform/core/Format.h"

// Two places where we part from the published coder on purpose:
//  - Its encoder keeps a Huffman code in a 16-bit word, so a symbol deeper
//    than 16 levels (possible once frequencies grow like Fibonacci numbers)
//    loses its lowest bits and the stream no longer decodes. We keep up to 64
//    bits; for every code of 16 bits or less the output is unchanged.
//  - Its decoder trusts the plain size: short code reads as zero bits and the
//    last match may run up to 59 bytes past the end. We stop at the plain size
//    and raise ElzhException once the decoder needs bits the code does not have.

namespace qv {

namespace {

constexpr int N = 4096;        // ring buffer
constexpr int F = 60;          // look-ahead, longest match
constexpr int THRESHOLD = 2;   // matches must be longer than this
constexpr int NIL = N;         // null link of the search trees
constexpr int N_CHAR = 256 - THRESHOLD + F;  // literals and lengths 3..60
constexpr int T = N_CHAR * 2 - 1;            // nodes of the Huffman tree
constexpr int R = T - 1;                     // its root
constexpr unsigned MAX_FREQ = 0x8000;
constexpr int kFreqPad = 7;  // sentinels behind freq[T], so eight can be read from any node

// The fixed prefix code of the upper six position bits is the canonical code
// for these lengths: 1 code of 3 bits, 3 of 4, 8 of 5, 12 of 6, 24 of 7, 16 of 8.
struct PositionCode {
  uint8_t p_len[64] = {};
  uint8_t p_code[64] = {};
  uint8_t d_code[256] = {};
  uint8_t d_len[256] = {};
};

constexpr PositionCode MakePositionCode() {
  PositionCode t;
  constexpr int kCount[] = {1, 3, 8, 12, 24, 16};  // codes of 3 to 8 bits
  int sym = 0;
  unsigned next = 0;  // next code, as an 8-bit left-aligned value
  for (int li = 0; li < 6; ++li) {
    const int bits = li + 3;
    for (int k = 0; k < kCount[li]; ++k, ++sym) {
      t.p_len[sym] = static_cast<uint8_t>(bits);
      t.p_code[sym] = static_cast<uint8_t>(next);
      const unsigned span = 1u << (8 - bits);
      for (unsigned b = next; b < next + span; ++b) {
        t.d_code[b] = static_cast<uint8_t>(sym);
        t.d_len[b] = static_cast<uint8_t>(bits);
      }
      next += span;
    }
  }
  return t;
}

constexpr PositionCode kPos = MakePositionCode();
static_assert(kPos.p_code[0] == 0x00 && kPos.p_code[1] == 0x20 && kPos.p_code[4] == 0x50 &&
              kPos.p_code[12] == 0x90 && kPos.p_code[24] == 0xC0 && kPos.p_code[48] == 0xF0 &&
              kPos.p_code[63] == 0xFF);
static_assert(kPos.d_code[0x1F] == 0 && kPos.d_code[0x20] == 1 && kPos.d_len[0x4F] == 4 &&
              kPos.d_code[0xEF] == 47 && kPos.d_len[0xEF] == 7 && kPos.d_code[0xFF] == 63);

const char16_t kNoMemory[] = u"LZH : Cannot get memory for dictionary tables";

// Adapters between the coder and its byte sources and sinks.

// A callback source is read no further ahead than the published decoder
// reads (16 bits held at most), so a caller sees the same calls; a buffered
// one has read its chunk anyway and lets the bit reader hold 64 bits.
struct CallbackIn {
  static constexpr bool kReadAhead = false;
  const TReadProc& proc;
  bool Get(uint8_t& b) {
    uint16_t got = 0;
    proc(&b, 1, got);
    return got >= 1;
  }
};

struct CallbackOut {
  const TWriteProc& proc;
  uint8_t room[F + 8] = {};
  void Put(uint8_t b) {
    uint16_t put = 0;
    proc(&b, 1, put);
  }
  // Room for n (at most F) bytes and 8 more that are never handed out;
  // Advance hands out the n.
  uint8_t* Room(size_t) { return room; }
  void Advance(size_t n) {
    for (size_t i = 0; i < n; ++i) Put(room[i]);
  }
};

// The block writer and reader go through chunks rather than a call per byte;
// what reaches the streams is the same.
class BufferedIn {
 public:
  static constexpr bool kReadAhead = true;
  explicit BufferedIn(TStream& s) : s_(s), buf_(65536) {}
  bool Get(uint8_t& b) {
    if (at_ == end_) {
      if (eof_) return false;
      end_ = static_cast<size_t>(s_.Read(buf_.data(), static_cast<int64_t>(buf_.size())));
      at_ = 0;
      if (end_ == 0) {
        eof_ = true;
        return false;
      }
    }
    b = buf_[at_++];
    return true;
  }
  // The next eight bytes when the chunk still holds them, else null; Take
  // then passes over the ones used.
  const uint8_t* Eight() const { return end_ - at_ >= 8 ? buf_.data() + at_ : nullptr; }
  void Take(size_t n) { at_ += n; }

 private:
  TStream& s_;
  std::vector<uint8_t> buf_;
  size_t at_ = 0, end_ = 0;
  bool eof_ = false;
};

class BufferedOut {
 public:
  explicit BufferedOut(TStream& s) : s_(s), buf_(kChunk + 8) {}
  // A full chunk goes out when the next byte needs its room.
  void Put(uint8_t b) {
    if (at_ == kChunk) Flush();
    buf_[at_++] = b;
  }
  // Room for n (at most a match, far below kChunk) bytes and 8 more that
  // are never written out; Advance counts the n as written.
  uint8_t* Room(size_t n) {
    if (at_ + n > kChunk) Flush();
    return buf_.data() + at_;
  }
  void Advance(size_t n) { at_ += n; }
  void Flush() {
    if (at_) s_.WriteBuffer(buf_.data(), static_cast<int64_t>(at_));
    at_ = 0;
  }

 private:
  static constexpr size_t kChunk = 65536;
  TStream& s_;
  std::vector<uint8_t> buf_;
  size_t at_ = 0;
};

// Eight bytes as one number whose order is that of the bytes compared one by
// one from the first.
inline uint64_t LoadOrdered(const uint8_t* p) {
  uint64_t v;
  std::memcpy(&v, p, 8);
  if constexpr (std::endian::native == std::endian::little) v = __builtin_bswap64(v);
  return v;
}

}  // namespace

TLZH::~TLZH() { FreeTables(); }

void TLZH::AllocTables() {
  FreeTables();
  try {
    // Zeroed as the published coder's static tables are: the search reads
    // bytes past the end of short input, and matches depend on them.
    text_buf = new uint8_t[N + F - 1]();
    link = new uint16_t[2 * (N + 257)]();
    dad = new uint16_t[N + 1]();
    freq = new uint16_t[T + 1 + kFreqPad]();
    prnt = new uint16_t[T + N_CHAR]();
    son = new uint16_t[T]();
  } catch (const std::bad_alloc&) {
    FreeTables();
    throw ElzhException(kNoMemory);
  }
}

void TLZH::FreeTables() {
  delete[] text_buf;
  delete[] link;
  delete[] dad;
  delete[] freq;
  delete[] prnt;
  delete[] son;
  text_buf = nullptr;
  link = dad = freq = prnt = son = nullptr;
}

// ---------------------------------------------------------------------------
// Dictionary: one ordered binary tree per first byte, keyed by the F bytes
// that follow a position.

namespace {

inline uint16_t& Left(uint16_t* link, unsigned p) { return link[2 * p]; }
inline uint16_t& Right(uint16_t* link, unsigned p) { return link[2 * p + 1]; }
// The link from parent to its child p, found by an index, not a branch: which
// side p is on cannot be guessed.
inline uint16_t& ParentLink(uint16_t* link, unsigned parent, unsigned p) {
  return link[2 * parent + (Right(link, parent) == p)];
}

// Keys whose bytes 1 to 8 agree, compared from byte `from` (9 or more; the
// bytes before it are known to agree): the first byte that differs, F if
// none; `above` tells whether key sorts after other.
inline unsigned CompareFar(const uint8_t* key, const uint8_t* other, unsigned from, bool& above) {
  for (unsigned i = std::min(from, unsigned{F - 8});; i = std::min(i + 8, unsigned{F - 8})) {
    const uint64_t a = LoadOrdered(key + i), b = LoadOrdered(other + i);
    if (a != b) {
      above = a > b;
      return i + (std::countl_zero(a ^ b) >> 3);
    }
    if (i == F - 8) return F;
  }
}

// Where a search ended and the best candidate it met.
struct Descent {
  unsigned p;     // the last node visited
  bool toRight;   // the side of p where the key belongs
  bool straight;  // every step went right
  unsigned best;  // rank of the best candidate
};

// Down the tree from its root p to where key r belongs. A node's rank as a
// candidate is its common length with the key, then its nearness ((p - r) &
// 4095 is 4095 less the coded position); below 3 << 12 nothing counts.
// Which way a step turns is data: in most trees it cannot be guessed, and a
// conditional move that waits for the compare beats a wrong guess. A tree
// that grows along one side (rising data: bitmaps, counters) walks straight,
// guesses right, and is walked with branches (kGuess), chosen by how the
// previous search went.
template <bool kGuess>
Descent Descend(const uint8_t* ring, const uint16_t* link, unsigned r, unsigned p) {
  const uint8_t* const key = ring + r;
  const uint64_t head = LoadOrdered(key + 1);
  Descent d{p, true, true, (3 << 12) - 1};
  // The common lengths with the nearest nodes seen on either side: every
  // node further down shares at least the shorter. Kept only past byte 8,
  // where compares are long.
  unsigned below = 0, above = 0;
  for (unsigned q = link[2 * p + 1]; q != NIL;) {
    d.p = p = q;
    const uint64_t next = LoadOrdered(ring + p + 1);
    const unsigned lo = link[2 * p], hi = link[2 * p + 1];
    unsigned i;
    if (head != next) [[likely]] {
      const bool right = head > next;
      d.straight &= right;
      d.toRight = right;
      if constexpr (kGuess) {
        if (right) {
          q = hi;
        } else {
          asm("");  // keeps this a branch
          q = lo;
        }
        if ((head ^ next) >> 48) continue;  // bytes 1 or 2 differ: no candidate
        i = 1 + (std::countl_zero(head ^ next) >> 3);
      } else {
        i = 1 + (std::countl_zero(head ^ next) >> 3);
#if defined(__x86_64__)
        q = lo;
        asm("cmp %[n], %[h]\n\tcmova %[hi], %[q]" : [q] "+r"(q) : [h] "r"(head), [n] "r"(next), [hi] "r"(hi) : "cc");
#else
        q = right ? hi : lo;
#endif
      }
    } else {
      bool right = true;
      i = CompareFar(key, ring + p, std::max(9u, std::min(below, above)), right);
      d.straight &= right;
      d.toRight = right;
      if (i == F) {
        d.best = F << 12 | ((p - r) & (N - 1));
        return d;
      }
      if (right) {
        below = i;
        q = hi;
      } else {
        above = i;
        q = lo;
      }
    }
    const unsigned rank = (i << 12) | ((p - r) & (N - 1));
    d.best = rank > d.best ? rank : d.best;
  }
  return d;
}

}  // namespace

void TLZH::InitTree() {
  for (unsigned i = N + 1; i <= N + 256; ++i) Right(link, i) = NIL;
  for (int i = 0; i < N; ++i) dad[i] = NIL;
}

void TLZH::InsertNode(int r) {
  Left(link, r) = Right(link, r) = NIL;
  const unsigned root = N + 1 + text_buf[r];
  const Descent d = straight ? Descend<true>(text_buf, link, r, root) : Descend<false>(text_buf, link, r, root);
  straight = d.straight;
  const unsigned p = d.p;
  match_length = static_cast<int16_t>(d.best >> 12);
  match_position = static_cast<int16_t>(N - 1 - (d.best & (N - 1)));
  if (match_length < F) {
    link[2 * p + d.toRight] = static_cast<uint16_t>(r);
    dad[r] = static_cast<uint16_t>(p);
    return;
  }
  // A full-length match: r takes p's place in the tree.
  dad[r] = dad[p];
  Left(link, r) = Left(link, p);
  Right(link, r) = Right(link, p);
  dad[Left(link, p)] = static_cast<uint16_t>(r);
  dad[Right(link, p)] = static_cast<uint16_t>(r);
  ParentLink(link, dad[p], p) = static_cast<uint16_t>(r);
  dad[p] = NIL;
}

void TLZH::DeleteNode(int p) {
  if (dad[p] == NIL) return;
  int q;
  if (Right(link, p) == NIL) {
    q = Left(link, p);
  } else if (Left(link, p) == NIL) {
    q = Right(link, p);
  } else {
    q = Left(link, p);
    if (Right(link, q) != NIL) {
      do {
        q = Right(link, q);
      } while (Right(link, q) != NIL);
      Right(link, dad[q]) = Left(link, q);
      dad[Left(link, q)] = dad[q];
      Left(link, q) = Left(link, p);
      dad[Left(link, p)] = static_cast<uint16_t>(q);
    }
    Right(link, q) = Right(link, p);
    dad[Right(link, p)] = static_cast<uint16_t>(q);
  }
  dad[q] = dad[p];
  ParentLink(link, dad[p], p) = static_cast<uint16_t>(q);
  dad[p] = NIL;
}

// ---------------------------------------------------------------------------
// Adaptive Huffman tree. Nodes sit at positions 0..R in non-decreasing order
// of frequency; son[] of a position is its left child (the right one is next
// to it) or, for a leaf, T + symbol.

void TLZH::StartHuff() {
  for (int i = 0; i < N_CHAR; ++i) {
    freq[i] = 1;
    son[i] = static_cast<uint16_t>(i + T);
    prnt[i + T] = static_cast<uint16_t>(i);
  }
  for (int i = 0, j = N_CHAR; j <= R; i += 2, ++j) {
    freq[j] = static_cast<uint16_t>(freq[i] + freq[i + 1]);
    son[j] = static_cast<uint16_t>(i);
    prnt[i] = prnt[i + 1] = static_cast<uint16_t>(j);
  }
  for (int i = T; i <= T + kFreqPad; ++i) freq[i] = 0xFFFF;
  prnt[R] = 0;
}

void TLZH::Reconst() {
  // Leaves to the front, frequencies halved rounding up.
  int j = 0;
  for (int i = 0; i < T; ++i) {
    if (son[i] >= T) {
      freq[j] = static_cast<uint16_t>((freq[i] + 1) / 2);
      son[j] = son[i];
      ++j;
    }
  }
  // Pair them again, each new node inserted where its frequency keeps the order.
  for (int i = 0, jj = N_CHAR; jj < T; i += 2, ++jj) {
    const unsigned f = freq[jj] = static_cast<uint16_t>(freq[i] + freq[i + 1]);
    int k = jj - 1;
    while (f < freq[k]) --k;
    ++k;
    std::memmove(&freq[k + 1], &freq[k], sizeof(uint16_t) * static_cast<size_t>(jj - k));
    freq[k] = static_cast<uint16_t>(f);
    std::memmove(&son[k + 1], &son[k], sizeof(uint16_t) * static_cast<size_t>(jj - k));
    son[k] = static_cast<uint16_t>(i);
  }
  for (int i = 0; i < T; ++i) {
    const int k = son[i];
    if (k >= T) {
      prnt[k] = static_cast<uint16_t>(i);
    } else {
      prnt[k] = prnt[k + 1] = static_cast<uint16_t>(i);
    }
  }
}

namespace {

// The first node from `from` on whose frequency is k or more (the order of
// frequencies and the sentinels behind the last node guarantee one).
inline int FirstAtLeast(const uint16_t* freq, int from, unsigned k) {
#if defined(__SSE2__)
  const __m128i kk = _mm_set1_epi16(static_cast<short>(k));
  for (;; from += 8) {
    const __m128i f = _mm_loadu_si128(reinterpret_cast<const __m128i*>(freq + from));
    // k - f saturates to 0 exactly where f >= k.
    const __m128i atLeast = _mm_cmpeq_epi16(_mm_subs_epu16(kk, f), _mm_setzero_si128());
    if (const unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(atLeast)))
      return from + (std::countr_zero(mask) >> 1);
  }
#else
  while (k > freq[from]) ++from;
  return from;
#endif
}

}  // namespace

// Node c's count has just become k, more than its right neighbour's: it
// trades places with the last node of a smaller count. Returns its new place.
int TLZH::Promote(int c, unsigned k) {
  const int l = FirstAtLeast(freq, c + 2, k) - 1;
  freq[c] = freq[l];
  freq[l] = static_cast<uint16_t>(k);

  const int i = son[c];
  prnt[i] = static_cast<uint16_t>(l);
  if (i < T) prnt[i + 1] = static_cast<uint16_t>(l);

  const int j = son[l];
  son[l] = static_cast<uint16_t>(i);

  prnt[j] = static_cast<uint16_t>(c);
  if (j < T) prnt[j + 1] = static_cast<uint16_t>(c);
  son[c] = static_cast<uint16_t>(j);
  return l;
}

// One more for node c and each node above it, keeping the order.
void TLZH::Climb(int c) {
  do {
    const unsigned k = ++freq[c];
    if (k > freq[c + 1]) c = Promote(c, k);
  } while ((c = prnt[c]) != 0);
}

void TLZH::Update(int c) {
  if (freq[R] == MAX_FREQ) Reconst();
  Climb(prnt[c + T]);
}

// Update after symbol c's code was walked from the root: down[0..depth) are
// the places passed, the root's child first. Until a node moves, the next
// one up is the place before it there, with no load to wait for.
void TLZH::UpdateAlong(int c, const uint16_t* down, unsigned depth) {
  if (freq[R] == MAX_FREQ) {
    Update(c);
    return;
  }
  while (depth) {
    const int at = down[--depth];
    const unsigned k = ++freq[at];
    if (k > freq[at + 1]) [[unlikely]] {
      if (const int up = prnt[Promote(at, k)]) Climb(up);
      return;
    }
  }
  ++freq[R];
}

// ---------------------------------------------------------------------------
// Bit streams. The state lives in locals while a call runs: every byte the
// coder stores may alias its members, which would otherwise be reloaded after
// each one.

namespace {

// Most significant bit first; whole bytes go out as they fill.
template <class Out>
struct BitOut {
  Out& out;
  uint64_t buf = 0;  // the last len bits are the ones not yet out
  unsigned len = 0;  // below 8 between calls
  int32_t bytes = 0;

  // Appends the low l (at most 32) bits of v.
  void Put(unsigned l, uint64_t v) {
    buf = (buf << l) | v;
    for (len += l; len >= 8; ++bytes) {
      len -= 8;
      out.Put(static_cast<uint8_t>(buf >> len));
    }
  }
  void Flush() {
    if (len) {
      out.Put(static_cast<uint8_t>(buf << (8 - len)));
      ++bytes;
    }
  }
  // What is left, as a 16-bit left-aligned buffer.
  uint16_t Left() const { return static_cast<uint16_t>(len ? buf << (16 - len) : 0); }
};

// Most significant bit first. A byte is read whenever the bits held fall to
// the low-water mark; missing bytes read as zero bits and are counted against
// the code. With a callback source the mark is the published decoder's
// (read when 8 bits or fewer are left, keep those 8 in reserve).
template <class In>
struct BitIn {
  static constexpr unsigned kHold = In::kReadAhead ? 64 : 16;  // bits held at most
  static constexpr unsigned kReserve = In::kReadAhead ? 0 : 8;  // never used without a read first

  In& in;
  uint64_t buf = 0;  // left-aligned
  unsigned len = 0;
  int64_t budget = 0;  // bits delivered minus bits used

  void Fill() {
    if constexpr (In::kReadAhead) {
      // As many whole bytes as fit, in one load: a loop of a varying count
      // is a guess missed at nearly every call.
      if (len > kHold - 8) return;
      if (const uint8_t* p = in.Eight()) {
        const unsigned n = (64 - len) >> 3;
        buf |= (LoadOrdered(p) & (~0ull << (64 - 8 * n))) >> len;
        in.Take(n);
        len += 8 * n;
        budget += 8 * n;
        return;
      }
    }
    while (len <= kHold - 8) {
      uint8_t b = 0;
      if (in.Get(b)) budget += 8;
      buf |= static_cast<uint64_t>(b) << (56 - len);
      len += 8;
    }
  }
  // Bits that may be used now, after a Fill.
  unsigned Ready() const { return std::min(len - kReserve, 63u); }
  void Skip(unsigned n) {
    buf <<= n;
    len -= n;
    budget -= n;
  }
  unsigned Bit() {
    Fill();
    const unsigned bit = static_cast<unsigned>(buf >> 63);
    Skip(1);
    return bit;
  }
  unsigned Byte() {
    Fill();
    const unsigned byte = static_cast<unsigned>(buf >> 56);
    Skip(8);
    return byte;
  }
  // n (1 to 8) bits as a number; read one by one where the source is a
  // callback, so that it sees the published decoder's reads.
  unsigned Bits(unsigned n) {
    if constexpr (kReserve) {
      unsigned v = 0;
      while (n--) v = (v << 1) | Bit();
      return v;
    } else {
      Fill();
      const unsigned v = static_cast<unsigned>(buf >> (64 - n));
      Skip(n);
      return v;
    }
  }
  uint16_t Left() const { return static_cast<uint16_t>(buf >> 48); }
};

}  // namespace

template <class Out>
void TLZH::EncodeChar(Out& bits, unsigned c) {
  // Walk from the leaf to the root; an odd position is the right child. No
  // code gets near 64 bits: a leaf that deep would need a root frequency far
  // beyond MAX_FREQ.
  uint64_t path = 0;
  unsigned depth = 0;
  const uint16_t* const parent = prnt;
  unsigned k = parent[c + T];
  do {
    path |= static_cast<uint64_t>(k & 1) << depth;
    ++depth;
  } while ((k = parent[k]) != R);
  code = static_cast<uint16_t>(depth >= 16 ? path >> (depth - 16) : path << (16 - depth));
  len = static_cast<uint16_t>(depth);
  if (depth > 32) bits.Put(depth - 32, path >> 32);
  bits.Put(std::min(depth, 32u), path & 0xFFFFFFFFu);
  Update(static_cast<int>(c));
}

template <class Out>
void TLZH::EncodePosition(Out& bits, unsigned c) {
  const unsigned i = c >> 6;
  const unsigned l = kPos.p_len[i];
  bits.Put(l + 6, ((static_cast<unsigned>(kPos.p_code[i]) >> (8 - l)) << 6) | (c & 0x3F));
}

template <class In>
int TLZH::DecodeChar(In& bits) {
  // Down from the root as far as the bits at hand go, then take them.
  const uint16_t* const child = son;
  uint16_t down[N_CHAR];  // places passed; the tree has fewer levels than leaves
  unsigned depth = 0;
  unsigned c = child[R];
  while (c < T) {
    bits.Fill();
    const unsigned ready = bits.Ready();
    uint64_t word = bits.buf;
    unsigned used = 0;
    do {
      const unsigned at = c + static_cast<unsigned>(word >> 63);
      down[depth + used] = static_cast<uint16_t>(at);
      c = child[at];
      word <<= 1;
      ++used;
    } while (c < T && used < ready);
    bits.Skip(used);
    depth += used;
  }
  c -= T;
  UpdateAlong(static_cast<int>(c), down, depth);
  return static_cast<int>(c);
}

template <class In>
int TLZH::DecodePosition(In& bits) {
  const unsigned i = bits.Byte();
  const unsigned more = kPos.d_len[i] - 2u;
  return static_cast<int>((static_cast<unsigned>(kPos.d_code[i]) << 6) |
                          ((((i << more) | bits.Bits(more))) & 0x3F));
}

namespace {

// Bytes 0 to 7 of a word as they lie in memory.
inline uint64_t Load8(const uint8_t* p) {
  uint64_t v;
  std::memcpy(&v, p, 8);
  return v;
}
inline void Store8(uint8_t* p, uint64_t v) { std::memcpy(p, &v, 8); }

// The first n (1 to 7) bytes of word to `to` and all eight to `copy`: the
// ring's bytes after them are put back as they were, the copy has room.
inline void StoreLast(uint8_t* to, uint8_t* copy, uint64_t word, int n) {
  const uint64_t keep = ~0ull << (8 * n);
  Store8(to, (word & ~keep) | (Load8(to) & keep));
  Store8(copy, word);
}

// n bytes from `from` on, as a copy byte by byte from the first gives them
// (a source that runs into the bytes it produces repeats its start), to `to`
// in the ring and to `copy`. Eight at a time, and never read back from bytes
// just stored: a load that spans earlier stores waits for them. The ring's
// bytes past the n are still dictionary and keep their values.
inline void CopyMatch(uint8_t* to, const uint8_t* from, uint8_t* copy, int n) {
  int k = 0;
  const ptrdiff_t period = to - from;
  if (period > 0 && period < 8) {
    if constexpr (std::endian::native == std::endian::little) {
      // The period repeated through a word; each next word is the last one
      // moved on by 8 % period bytes of the period.
      const unsigned bits = 8 * static_cast<unsigned>(period);
      const uint64_t unit = Load8(from) & (~0ull >> (64 - bits));
      uint64_t word = 0;
      for (unsigned at = 0; at < 64; at += bits) word |= unit << at;
      const unsigned shift = 8 * (8 % static_cast<unsigned>(period));
      for (; k + 8 <= n; k += 8) {
        Store8(to + k, word);
        Store8(copy + k, word);
        if (shift) word = (word >> shift) | ((word << (bits - shift)) & (~0ull << (64 - shift)));
      }
      if (k < n) StoreLast(to + k, copy + k, word, n - k);
      return;
    }
  } else {
    for (; k + 8 <= n; k += 8) {
      const uint64_t word = Load8(from + k);
      Store8(to + k, word);
      Store8(copy + k, word);
    }
    if constexpr (std::endian::native == std::endian::little) {
      if (k < n) StoreLast(to + k, copy + k, Load8(from + k), n - k);
      return;
    }
  }
  for (; k < n; ++k) to[k] = copy[k] = from[k];
}

}  // namespace

// ---------------------------------------------------------------------------

template <class In, class Out>
void TLZH::Encode(In& in, Out& out) {
  textsize = codesize = 0;
  match_position = match_length = 0;
  StartHuff();
  InitTree();
  uint8_t* const ring = text_buf;
  BitOut<Out> bits{out};
  int s = 0;
  int r = N - F;
  // Position r too: it is overwritten by the first byte, and for an empty
  // source the one literal sent is then a space.
  for (int i = s; i <= r; ++i) ring[i] = ' ';
  int length = 0;
  uint8_t c = 0;
  for (; length < F && in.Get(c); ++length) ring[r + length] = c;
  textsize = length;
  for (int i = 1; i <= F; ++i) InsertNode(r - i);
  InsertNode(r);
  do {
    if (match_length > length) match_length = static_cast<int16_t>(length);
    if (match_length <= THRESHOLD) {
      match_length = 1;
      EncodeChar(bits, ring[r]);
    } else {
      EncodeChar(bits, static_cast<unsigned>(255 - THRESHOLD + match_length));
      EncodePosition(bits, static_cast<unsigned>(match_position));
    }
    const int last = match_length;
    int i = 0;
    for (; i < last && in.Get(c); ++i) {
      DeleteNode(s);
      ring[s] = c;
      if (s < F - 1) ring[s + N] = c;
      s = (s + 1) & (N - 1);
      r = (r + 1) & (N - 1);
      InsertNode(r);
    }
    textsize += i;
    while (i++ < last) {
      DeleteNode(s);
      s = (s + 1) & (N - 1);
      r = (r + 1) & (N - 1);
      if (--length) InsertNode(r);
    }
  } while (length > 0);
  bits.Flush();
  putbuf = bits.Left();
  putlen = static_cast<uint8_t>(bits.len);
  codesize = bits.bytes;
}

template <class In, class Out>
void TLZH::Decode(int32_t size, In& in, Out& out) {
  BitIn<In> bits{in};
  if (size > 0) {
    StartHuff();
    uint8_t* const ring = text_buf;
    for (int i = 0; i < N - F; ++i) ring[i] = ' ';
    int r = N - F;
    int32_t count = 0;
    auto checkCode = [&] {
      if (bits.budget < 0)
        throw ElzhException(Format(u"LZH : The code ends after %d of %d plain bytes", {count, size}));
    };
    while (count < size) {
      const int c = DecodeChar(bits);
      if (c < 256) {
        checkCode();
        out.Put(static_cast<uint8_t>(c));
        ring[r++] = static_cast<uint8_t>(c);
        r &= N - 1;
        ++count;
      } else {
        const int from = (r - DecodePosition(bits) - 1) & (N - 1);
        checkCode();
        // The copy may overlap the bytes it produces; it stops at the plain size.
        const int j = std::min(c - 255 + THRESHOLD, size - count);
        if (from + j <= N && r + j <= N) {
          CopyMatch(ring + r, ring + from, out.Room(static_cast<size_t>(j)), j);
          out.Advance(static_cast<size_t>(j));
          r = (r + j) & (N - 1);
        } else {
          for (int k = 0; k < j; ++k) {
            const uint8_t b = ring[(from + k) & (N - 1)];
            out.Put(b);
            ring[r++] = b;
            r &= N - 1;
          }
        }
        count += j;
      }
    }
  }
  getbuf = bits.Left();
  getlen = static_cast<uint8_t>(bits.len);
}

void TLZH::LZHPack(int32_t& Bytes_Written, const TReadProc& GetBytes, const TWriteProc& PutBytes) {
  AllocTables();
  try {
    CallbackIn in{GetBytes};
    CallbackOut out{PutBytes};
    Encode(in, out);
  } catch (...) {
    FreeTables();
    throw;
  }
  FreeTables();
  Bytes_Written = textsize;
}

void TLZH::LZHUnpack(int32_t TextSize, const TReadProc& GetBytes, const TWriteProc& PutBytes) {
  AllocTables();
  try {
    CallbackIn in{GetBytes};
    CallbackOut out{PutBytes};
    Decode(TextSize, in, out);
  } catch (...) {
    FreeTables();
    throw;
  }
  FreeTables();
}

void TLZH::GetBlockStream(void* DTA, uint16_t NBytes, uint16_t& Bytes_Got) {
  const int64_t left = StreamIn ? std::max<int64_t>(0, StreamIn->Size() - StreamIn->Position()) : 0;
  Bytes_Got = static_cast<uint16_t>(std::min<int64_t>(NBytes, left));
  if (Bytes_Got) StreamIn->ReadBuffer(DTA, Bytes_Got);
}

void TLZH::PutBlockStream(const void* DTA, uint16_t NBytes, uint16_t& Bytes_Got) {
  if (NBytes) {
    if (!StreamOut) throw ElzhException(u"LZH : No stream to write to");
    StreamOut->WriteBuffer(DTA, NBytes);
  }
  Bytes_Got = NBytes;
}

void TLZH::PackStream(TStream& source, TStream& target) {
  source.SetPosition(0);
  target.SetPosition(0);
  const int64_t size = source.Size();
  if (size > INT32_MAX) throw ElzhException(u"LZH : The data is too large for one block");
  const int32_t plain = static_cast<int32_t>(size);
  const uint8_t header[4] = {static_cast<uint8_t>(plain), static_cast<uint8_t>(plain >> 8),
                             static_cast<uint8_t>(plain >> 16), static_cast<uint8_t>(plain >> 24)};
  target.WriteBuffer(header, 4);
  StreamIn = &source;
  StreamOut = &target;
  AllocTables();
  try {
    BufferedIn in(source);
    BufferedOut out(target);
    Encode(in, out);
    out.Flush();
  } catch (...) {
    FreeTables();
    throw;
  }
  FreeTables();
}

void TLZH::UnpackStream(TStream& source, TStream& target) {
  source.SetPosition(0);
  target.SetPosition(0);
  uint8_t header[4];
  if (source.Read(header, 4) != 4) throw ElzhException(u"LZH : The block is too short to hold its size");
  const int32_t plain = static_cast<int32_t>(static_cast<uint32_t>(header[0]) | (uint32_t{header[1]} << 8) |
                                             (uint32_t{header[2]} << 16) | (uint32_t{header[3]} << 24));
  if (plain < 0) throw ElzhException(Format(u"LZH : Invalid plain size %d", {plain}));
  // No symbol yields more than 60 bytes for 10 bits of code.
  const int64_t codeBytes = source.Size() - 4;
  if (plain > 48 * codeBytes)
    throw ElzhException(Format(u"LZH : Plain size %d cannot come from %d bytes of code",
                               {plain, static_cast<long long>(codeBytes)}));
  AllocTables();
  StreamIn = &source;
  StreamOut = &target;
  try {
    BufferedIn in(source);
    BufferedOut out(target);
    try {
      Decode(plain, in, out);
    } catch (...) {
      out.Flush();
      throw;
    }
    out.Flush();
  } catch (...) {
    FreeTables();
    throw;
  }
  FreeTables();
}

void PackStream(TStream& source, TStream& target) {
  TLZH lzh;
  lzh.PackStream(source, target);
}

void UnpackStream(TStream& source, TStream& target) {
  TLZH lzh;
  lzh.UnpackStream(source, target);
}

}  // namespace qv
