#include "skin/data/WinConvert.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <new>
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

struct CallbackIn {
  const TReadProc& proc;
  bool Get(uint8_t& b) {
    uint16_t got = 0;
    proc(&b, 1, got);
    return got >= 1;
  }
};

struct CallbackOut {
  const TWriteProc& proc;
  void Put(uint8_t b) {
    uint16_t put = 0;
    proc(&b, 1, put);
  }
};

// The block writer and reader go through chunks rather than a call per byte;
// what reaches the streams is the same.
class BufferedIn {
 public:
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

 private:
  TStream& s_;
  std::vector<uint8_t> buf_;
  size_t at_ = 0, end_ = 0;
  bool eof_ = false;
};

class BufferedOut {
 public:
  explicit BufferedOut(TStream& s) : s_(s) { buf_.reserve(kChunk); }
  void Put(uint8_t b) {
    buf_.push_back(b);
    if (buf_.size() == kChunk) Flush();
  }
  void Flush() {
    if (!buf_.empty()) s_.WriteBuffer(buf_.data(), static_cast<int64_t>(buf_.size()));
    buf_.clear();
  }

 private:
  static constexpr size_t kChunk = 65536;
  TStream& s_;
  std::vector<uint8_t> buf_;
};

}  // namespace

TLZH::~TLZH() { FreeTables(); }

void TLZH::AllocTables() {
  FreeTables();
  try {
    // Zeroed as the published coder's static tables are: the search reads
    // bytes past the end of short input, and matches depend on them.
    text_buf = new uint8_t[N + F - 1]();
    lson = new uint16_t[N + 1]();
    dad = new uint16_t[N + 1]();
    rson = new uint16_t[N + 257]();
    freq = new uint16_t[T + 1]();
    prnt = new uint16_t[T + N_CHAR]();
    son = new uint16_t[T]();
  } catch (const std::bad_alloc&) {
    FreeTables();
    throw ElzhException(kNoMemory);
  }
}

void TLZH::FreeTables() {
  delete[] text_buf;
  delete[] lson;
  delete[] dad;
  delete[] rson;
  delete[] freq;
  delete[] prnt;
  delete[] son;
  text_buf = nullptr;
  lson = dad = rson = freq = prnt = son = nullptr;
}

// ---------------------------------------------------------------------------
// Dictionary: one ordered binary tree per first byte, keyed by the F bytes
// that follow a position.

void TLZH::InitTree() {
  for (int i = N + 1; i <= N + 256; ++i) rson[i] = NIL;
  for (int i = 0; i < N; ++i) dad[i] = NIL;
}

void TLZH::InsertNode(int r) {
  int cmp = 1;
  const uint8_t* key = &text_buf[r];
  int p = N + 1 + key[0];
  rson[r] = lson[r] = NIL;
  match_length = 0;
  for (;;) {
    if (cmp >= 0) {
      if (rson[p] != NIL) {
        p = rson[p];
      } else {
        rson[p] = static_cast<uint16_t>(r);
        dad[r] = static_cast<uint16_t>(p);
        return;
      }
    } else {
      if (lson[p] != NIL) {
        p = lson[p];
      } else {
        lson[p] = static_cast<uint16_t>(r);
        dad[r] = static_cast<uint16_t>(p);
        return;
      }
    }
    // The first differing byte of the two keys, eight bytes at a time.
    const uint8_t* other = &text_buf[p];
    int i = 1;
    bool differ = false;
    if constexpr (std::endian::native == std::endian::little) {
      for (; i + 8 <= F; i += 8) {
        uint64_t a, b;
        std::memcpy(&a, key + i, 8);
        std::memcpy(&b, other + i, 8);
        if (const uint64_t x = a ^ b) {
          i += std::countr_zero(x) >> 3;
          differ = true;
          break;
        }
      }
    }
    if (!differ) {
      while (i < F && key[i] == other[i]) ++i;
    }
    cmp = i < F ? key[i] - other[i] : 0;
    if (i > THRESHOLD) {
      // Longest first; among equals the nearest (smallest coded position).
      const int position = ((r - p) & (N - 1)) - 1;
      if (i > match_length) {
        match_position = static_cast<int16_t>(position);
        if ((match_length = static_cast<int16_t>(i)) >= F) break;
      }
      if (i == match_length && position < match_position) match_position = static_cast<int16_t>(position);
    }
  }
  // A full-length match: r takes p's place in the tree.
  dad[r] = dad[p];
  lson[r] = lson[p];
  rson[r] = rson[p];
  dad[lson[p]] = static_cast<uint16_t>(r);
  dad[rson[p]] = static_cast<uint16_t>(r);
  if (rson[dad[p]] == p) rson[dad[p]] = static_cast<uint16_t>(r);
  else lson[dad[p]] = static_cast<uint16_t>(r);
  dad[p] = NIL;
}

void TLZH::DeleteNode(int p) {
  if (dad[p] == NIL) return;
  int q;
  if (rson[p] == NIL) {
    q = lson[p];
  } else if (lson[p] == NIL) {
    q = rson[p];
  } else {
    q = lson[p];
    if (rson[q] != NIL) {
      do {
        q = rson[q];
      } while (rson[q] != NIL);
      rson[dad[q]] = lson[q];
      dad[lson[q]] = dad[q];
      lson[q] = lson[p];
      dad[lson[p]] = static_cast<uint16_t>(q);
    }
    rson[q] = rson[p];
    dad[rson[p]] = static_cast<uint16_t>(q);
  }
  dad[q] = dad[p];
  if (rson[dad[p]] == p) rson[dad[p]] = static_cast<uint16_t>(q);
  else lson[dad[p]] = static_cast<uint16_t>(q);
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
  freq[T] = 0xFFFF;
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

void TLZH::Update(int c) {
  if (freq[R] == MAX_FREQ) Reconst();
  c = prnt[c + T];
  do {
    const unsigned k = ++freq[c];
    // Out of order: swap with the last node of smaller frequency.
    int l = c + 1;
    if (k > freq[l]) {
      while (k > freq[++l]) {
      }
      --l;
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

      c = l;
    }
  } while ((c = prnt[c]) != 0);
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
  unsigned buf = 0;  // 16 bits, left-aligned
  unsigned len = 0;  // bits held, below 8 between calls
  int32_t bytes = 0;

  // Appends the top l (at most 16) bits of c.
  void Put(unsigned l, unsigned c) {
    buf = (buf | (c >> len)) & 0xFFFF;
    if ((len += l) >= 8) {
      out.Put(static_cast<uint8_t>(buf >> 8));
      if ((len -= 8) >= 8) {
        out.Put(static_cast<uint8_t>(buf));
        bytes += 2;
        len -= 8;
        buf = (c << (l - len)) & 0xFFFF;
      } else {
        buf = (buf << 8) & 0xFFFF;
        ++bytes;
      }
    }
  }
  void Flush() {
    if (len) {
      out.Put(static_cast<uint8_t>(buf >> 8));
      ++bytes;
    }
  }
};

// Reads a byte whenever 8 bits or fewer are left, as the published decoder
// does; missing bytes read as zero bits and are counted against the code.
template <class In>
struct BitIn {
  In& in;
  unsigned buf = 0;  // 16 bits, left-aligned
  unsigned len = 0;
  int64_t budget = 0;  // bits delivered minus bits used

  void Fill() {
    while (len <= 8) {
      uint8_t b = 0;
      if (in.Get(b)) budget += 8;
      buf |= static_cast<unsigned>(b) << (8 - len);
      len += 8;
    }
  }
  unsigned Bit() {
    Fill();
    const unsigned bit = buf >> 15;
    buf = (buf << 1) & 0xFFFF;
    --len;
    --budget;
    return bit;
  }
  unsigned Byte() {
    Fill();
    const unsigned byte = buf >> 8;
    buf = (buf << 8) & 0xFFFF;
    len -= 8;
    budget -= 8;
    return byte;
  }
};

}  // namespace

template <class Out>
void TLZH::EncodeChar(Out& bits, unsigned c) {
  // Walk from the leaf to the root; an odd position is the right child.
  uint64_t path = 0;
  int depth = 0;
  const uint16_t* const parent = prnt;
  int k = parent[c + T];
  do {
    path >>= 1;
    if (k & 1) path |= uint64_t{1} << 63;
    ++depth;
  } while ((k = parent[k]) != R);
  code = static_cast<uint16_t>(path >> 48);
  len = static_cast<uint16_t>(depth);
  for (int left = depth; left > 0; left -= 16, path <<= 16)
    bits.Put(static_cast<unsigned>(std::min(left, 16)), static_cast<unsigned>(path >> 48));
  Update(static_cast<int>(c));
}

template <class Out>
void TLZH::EncodePosition(Out& bits, unsigned c) {
  const unsigned i = c >> 6;
  bits.Put(kPos.p_len[i], static_cast<unsigned>(kPos.p_code[i]) << 8);
  bits.Put(6, (c & 0x3F) << 10);
}

template <class In>
int TLZH::DecodeChar(In& bits) {
  const uint16_t* const child = son;
  unsigned c = child[R];
  while (c < T) {
    c += bits.Bit();
    c = child[c];
  }
  c -= T;
  Update(static_cast<int>(c));
  return static_cast<int>(c);
}

template <class In>
int TLZH::DecodePosition(In& bits) {
  unsigned i = bits.Byte();
  const unsigned c = static_cast<unsigned>(kPos.d_code[i]) << 6;
  unsigned j = kPos.d_len[i] - 2u;
  while (j--) i = (i << 1) + bits.Bit();
  return static_cast<int>(c | (i & 0x3F));
}

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
  putbuf = static_cast<uint16_t>(bits.buf);
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
        for (int k = 0; k < j; ++k) {
          const uint8_t b = ring[(from + k) & (N - 1)];
          out.Put(b);
          ring[r++] = b;
          r &= N - 1;
        }
        count += j;
      }
    }
  }
  getbuf = static_cast<uint16_t>(bits.buf);
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
