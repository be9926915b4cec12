// The LZH coder and block reader: published vectors, ring and table edges,
// overlapping matches, callbacks, and damaged or short code streams.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/core/FileUtils.h"
#include "skin/data/WinConvert.h"

using namespace qv;

namespace {

using Bytes = std::vector<uint8_t>;

Bytes Pack(const Bytes& plain) {
  TMemoryStream src, dst;
  if (!plain.empty()) src.WriteBuffer(plain.data(), static_cast<int64_t>(plain.size()));
  PackStream(src, dst);
  return dst.Bytes();
}

Bytes Unpack(const Bytes& block) {
  TMemoryStream src, dst;
  if (!block.empty()) src.WriteBuffer(block.data(), static_cast<int64_t>(block.size()));
  UnpackStream(src, dst);
  return dst.Bytes();
}

Bytes Text(const std::string& s) { return Bytes(s.begin(), s.end()); }

Bytes Noise(size_t n, uint32_t seed) {
  Bytes out(n);
  for (auto& b : out) {
    seed = seed * 1103515245u + 12345u;
    b = static_cast<uint8_t>(seed >> 16);
  }
  return out;
}

// Words and numbers of a skin description: plenty of repeats near and far.
Bytes IniLikeText(size_t n) {
  std::string s;
  for (int i = 0; s.size() < n; ++i)
    s += "[Button" + std::to_string(i % 37) + "]\r\nImage=btn" + std::to_string(i % 11) + ".bmp\r\nLeft=" +
         std::to_string(i * 7 % 100) + "\r\n";
  s.resize(n);
  return Text(s);
}

uint64_t Digest(const Bytes& b) {
  uint64_t h = 14695981039346656037ull;
  for (uint8_t c : b) h = (h ^ c) * 1099511628211ull;
  return h;
}

std::string Hex(const Bytes& b) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (uint8_t c : b) out += std::string{kHex[c >> 4], kHex[c & 15], ' '};
  return out;
}

}  // namespace

// The published coder's output for files it was run on.
TEST(LzhCoder, ReproducesThePublishedVectors) {
  for (const char* name : {"space", "abc", "a100"}) {
    const std::string dir = std::string(QV_TEST_DATA) + "/lzhuf/";
    const Bytes plain = ReadFileBytes(FromUtf8(dir + name + ".bin"));
    const Bytes block = ReadFileBytes(FromUtf8(dir + name + ".lzh"));
    EXPECT_EQ(Hex(Pack(plain)), Hex(block)) << name;
    EXPECT_EQ(Unpack(block), plain) << name;
  }
}

// Worked out on paper from the published rules. The initial tree pairs nodes
// in order, so the node at position q has its parent at 314 + q/2 and the bit
// of a node is its position's parity (odd: right). A leaf that is used swaps
// with the last leaf of frequency 1 (position 313, then 312, ...) and its
// ancestors' counts grow without reordering for these short inputs.
TEST(LzhCoder, MatchesHandDerivedCodeStreams) {
  // Empty source: one literal space is sent but never read. Space is leaf 32:
  // path 32, 330, 479, 553, 590, 609, 618, 623, 625 -> 110101100.
  EXPECT_EQ(Hex(Pack({})), "00 00 00 00 D6 00 ");
  // Two spaces: the second space is a literal too (the match is cut to the two
  // bytes there are); leaf 32 now sits at 313: path 313, 470, 549, 588, 608,
  // 618, 623, 625 -> 11000101. Bits 110101100 11000101 + padding.
  EXPECT_EQ(Hex(Pack(Text("  "))), "02 00 00 00 D6 62 80 ");
  // "abcabc": a 111101101, b 111101110, c 111101111, then the match of length 3
  // (symbol 256: path 256, 442, 535, 581, 604, 616, 622, 625 -> 10001100) at
  // distance 3, coded position 2: prefix 000 for the upper bits, 000010.
  EXPECT_EQ(Hex(Pack(Text("abcabc"))), "06 00 00 00 F6 FB BD F1 80 20 ");
  // "the the": the leading spaces of the ring are dictionary too, so after the
  // literals t (00000000), h (111110100), e (111110001) the text " the" is a
  // match of length 4 (symbol 257 -> 10001101) with the space before the
  // first "the" (position 4035, coded position 3: 000 000011).
  EXPECT_EQ(Hex(Pack(Text("the the"))), "07 00 00 00 00 FA 7C 63 40 60 ");
  // 100 x 'a': literal a, match 60 at coded position 0 (symbol 313, now at
  // the old place of a: 111101101, 000 000000), match 39 (symbol 292 ->
  // 10110000, 000 000000): the matches overlap their own output.
  EXPECT_EQ(Hex(Pack(Bytes(100, 'a'))), "64 00 00 00 F6 FB 40 16 00 00 ");
  EXPECT_EQ(Unpack(Pack(Text("the the"))), Text("the the"));
}

// Whole code streams of inputs long enough for every path of the coder (deep
// search trees, long matches, many tree rebuilds), as digests of what the
// plain per-byte coder wrote: a faster coder must write the same bits.
TEST(LzhCoder, KeepsTheCodeStreamsOfLongInputs) {
  Bytes mixed;
  for (int k = 0; k < 40; ++k) {
    const Bytes noise = Noise(3000 + k * 97, 20 + k), text = IniLikeText(5000 + k * 31);
    mixed.insert(mixed.end(), noise.begin(), noise.end());
    mixed.insert(mixed.end(), text.begin(), text.end());
    mixed.insert(mixed.end(), 700 + k, static_cast<uint8_t>(k));
  }
  const struct {
    Bytes plain;
    size_t size;
    uint64_t digest;
  } cases[] = {
      {Noise(200000, 11), 200247, 0xEAB8973107D8403Eull},
      {IniLikeText(300000), 42396, 0x267C4129FF391C76ull},
      {mixed, 245766, 0xF5F6A89789BDF60Cull},
  };
  for (const auto& c : cases) {
    const Bytes block = Pack(c.plain);
    EXPECT_EQ(block.size(), c.size);
    EXPECT_EQ(Digest(block), c.digest) << c.plain.size() << " bytes";
    EXPECT_EQ(Unpack(block), c.plain);
  }
}

// Code from elsewhere may copy from any of the 4,096 ring places, also those
// our search never offers: the one about to be written (4,096 back) and the
// ones just after it. Noise as code reaches them; the digests are of what the
// plain per-byte reader gave.
TEST(LzhBlockReader, CopiesFromEveryRingPlaceAsThePlainReaderDid) {
  const struct {
    uint32_t seed;
    uint64_t digest;
  } cases[] = {{1, 0xA502FC82B5B2B7F6ull}, {72, 0xB38CEBB98292DD3Dull}};
  for (const auto& c : cases) {
    Bytes block = {0x20, 0x4E, 0, 0};  // 20,000 plain bytes
    const Bytes code = Noise(4000, c.seed);
    block.insert(block.end(), code.begin(), code.end());
    const Bytes plain = Unpack(block);
    EXPECT_EQ(plain.size(), 20000u);
    EXPECT_EQ(Digest(plain), c.digest) << "seed " << c.seed;
  }
}

TEST(LzhCoder, RoundTripsAcrossTheEdgesOfTheRingAndTheTables) {
  std::vector<Bytes> inputs = {
      Text("a"), Text("ab"), Text("abc"), Bytes(59, 'x'), Bytes(60, 'x'), Bytes(61, 'x'),
      Noise(4095, 1), Noise(4096, 2), Noise(4097, 3), Bytes(70000, 0), IniLikeText(5000),
      IniLikeText(300000),  // past MAX_FREQ, so the tree is rebuilt many times
  };
  Bytes mixed = Noise(20000, 4);
  const Bytes text = IniLikeText(20000);
  mixed.insert(mixed.end(), text.begin(), text.end());
  mixed.insert(mixed.end(), 9000, 0xFF);
  inputs.push_back(mixed);
  for (const Bytes& in : inputs) {
    const Bytes block = Pack(in);
    ASSERT_GE(block.size(), 4u);
    EXPECT_EQ(block[0] | block[1] << 8 | block[2] << 16 | block[3] << 24, static_cast<int>(in.size()));
    EXPECT_EQ(Unpack(block), in) << in.size() << " bytes";
  }
}

// The reader hands out its bytes in chunks of 64 KiB: a match that ends right
// at a chunk's end, followed by a literal, must start the next chunk.
TEST(LzhBlockReader, MatchesEndingAtTheOutputChunkEdge) {
  for (size_t prefix = 1000; prefix < 1000 + 64; ++prefix) {
    Bytes plain = Noise(prefix, static_cast<uint32_t>(prefix));
    plain.resize(65536, 'z');
    const Bytes tail = Noise(100, 5);
    plain.insert(plain.end(), tail.begin(), tail.end());
    ASSERT_EQ(Unpack(Pack(plain)), plain) << prefix;
  }
}

TEST(LzhCoder, RunsOfOneByteBecomeOverlappingFullLengthMatches) {
  // A literal, then matches of 60 bytes: about 21 bits per 60 bytes.
  const Bytes run(60000, 'z');
  const Bytes block = Pack(run);
  EXPECT_LT(block.size(), 4u + 60000 / 60 * 3);
  EXPECT_EQ(Unpack(block), run);
  // Short data without repeats is literals only: about a byte per byte.
  const Bytes noise = Noise(200, 9);
  EXPECT_GE(Pack(noise).size(), 200u);
}

// A match nearer than its length copies bytes it has just produced: each
// short period must come out repeated, whatever the copy's stride.
TEST(LzhCoder, MatchesOverlappingTheirOutputRepeatEveryShortPeriod) {
  for (uint32_t period = 1; period <= 17; ++period) {
    Bytes plain = Noise(50, period);
    const Bytes unit = Noise(period, 100 + period);
    for (int i = 0; i < 300 / static_cast<int>(period) + 2; ++i) plain.insert(plain.end(), unit.begin(), unit.end());
    EXPECT_EQ(Unpack(Pack(plain)), plain) << "period " << period;
  }
}

TEST(LzhCoder, CallbacksSeeOneByteAtATime) {
  const Bytes plain = IniLikeText(3000);
  size_t at = 0;
  Bytes code;
  int maxAsked = 0;
  TLZH lzh;
  int32_t written = -1;
  lzh.LZHPack(
      written,
      [&](void* dta, uint16_t n, uint16_t& got) {
        maxAsked = std::max<int>(maxAsked, n);
        got = at < plain.size() ? 1 : 0;
        if (got) static_cast<uint8_t*>(dta)[0] = plain[at++];
      },
      [&](const void* dta, uint16_t n, uint16_t& put) {
        maxAsked = std::max<int>(maxAsked, n);
        code.insert(code.end(), static_cast<const uint8_t*>(dta), static_cast<const uint8_t*>(dta) + n);
        put = n;
      });
  EXPECT_EQ(written, 3000);
  EXPECT_EQ(maxAsked, 1);
  // Same code as the block writer's, without the size field.
  const Bytes block = Pack(plain);
  EXPECT_EQ(Bytes(block.begin() + 4, block.end()), code);

  Bytes back;
  size_t in = 0;
  lzh.LZHUnpack(
      3000,
      [&](void* dta, uint16_t, uint16_t& got) {
        got = in < code.size() ? 1 : 0;
        if (got) static_cast<uint8_t*>(dta)[0] = code[in++];
      },
      [&](const void* dta, uint16_t n, uint16_t& put) {
        back.insert(back.end(), static_cast<const uint8_t*>(dta), static_cast<const uint8_t*>(dta) + n);
        put = n;
      });
  EXPECT_EQ(back, plain);
  // A size of zero or below decodes nothing and reads nothing.
  lzh.LZHUnpack(-1, [](void*, uint16_t, uint16_t& got) { got = 0; ADD_FAILURE(); },
                [](const void*, uint16_t, uint16_t&) { ADD_FAILURE(); });
}

TEST(LzhCoder, BlockStreamCallbacksStopAtTheEndOfTheSource) {
  // Through the block writer: it sets the streams and reads them to the end.
  TMemoryStream src, dst;
  src.WriteBuffer("xyz", 3);
  src.SetPosition(2);  // the writer starts from the beginning anyway
  TLZH lzh;
  lzh.PackStream(src, dst);
  uint8_t buf[8];
  uint16_t got = 99;
  lzh.GetBlockStream(buf, 8, got);  // source fully read
  EXPECT_EQ(got, 0);
  src.SetPosition(1);
  lzh.GetBlockStream(buf, 8, got);
  EXPECT_EQ(got, 2);
  EXPECT_EQ(buf[0], 'y');
  EXPECT_EQ(Unpack(dst.Bytes()), Text("xyz"));
}

TEST(LzhBlockReader, RefusesBadPlainSizes) {
  Bytes block = Pack(Text("hello hello hello"));
  Bytes negative = block;
  negative[3] = 0x80;
  EXPECT_THROW(Unpack(negative), ElzhException);
  // 60 bytes per 10 bits at best: 13 bytes of code cannot give a megabyte.
  Bytes absurd = block;
  absurd[2] = 0x10;
  try {
    Unpack(absurd);
    ADD_FAILURE() << "no error";
  } catch (const ElzhException& e) {
    EXPECT_NE(ToUtf8(e.Message()).find("cannot come from"), std::string::npos) << e.what();
  }
  EXPECT_THROW(Unpack(Bytes{1, 0}), ElzhException);  // no room for the size
  EXPECT_TRUE(Unpack(Bytes{0, 0, 0, 0}).empty());   // nothing to decode, no code needed
}

TEST(LzhBlockReader, CodeThatEndsEarlyRaisesAndWritesNoMoreThanThePlainSize) {
  const Bytes plain = IniLikeText(4000);
  const Bytes block = Pack(plain);
  // (Much shorter, and the stated size alone gives it away.)
  for (size_t cut : {block.size() / 2, block.size() - 1}) {
    TMemoryStream src, dst;
    src.WriteBuffer(block.data(), static_cast<int64_t>(cut));
    try {
      UnpackStream(src, dst);
      ADD_FAILURE() << "no error at " << cut;
    } catch (const ElzhException& e) {
      EXPECT_NE(ToUtf8(e.Message()).find("ends after"), std::string::npos) << e.what();
    }
    ASSERT_LE(dst.Size(), 4000);
    EXPECT_TRUE(std::equal(dst.Bytes().begin(), dst.Bytes().end(), plain.begin()));
  }
}

TEST(LzhBlockReader, NeverWritesPastThePlainSize) {
  // The code holds 100 bytes; a smaller stated size cuts the last match short.
  Bytes block = Pack(Bytes(100, 'a'));
  block[0] = 5;
  EXPECT_EQ(Unpack(block), Bytes(5, 'a'));
  // Damaged code decodes to garbage or fails, but never to more bytes.
  const Bytes good = Pack(IniLikeText(2000));
  for (size_t i = 4; i < good.size(); i += 7) {
    Bytes bad = good;
    bad[i] ^= 0x5A;
    TMemoryStream src, dst;
    src.WriteBuffer(bad.data(), static_cast<int64_t>(bad.size()));
    try {
      UnpackStream(src, dst);
      EXPECT_EQ(dst.Size(), 2000);
    } catch (const ElzhException&) {
      EXPECT_LE(dst.Size(), 2000);
    }
  }
}
