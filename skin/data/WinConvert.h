// Compressed blocks of the skin engine: a 32-bit little-endian plain size
// followed by an LZHUF code stream (LZSS over a 4,096-byte ring with ordered
// search trees, adaptive Huffman coding of literals and match lengths).
//
// The code stream is bit for bit the one of the published 1988 coder, so
// blocks made elsewhere read here and blocks made here read elsewhere. Where
// that coder loses data we do not follow it; see the notes in WinConvert.cpp.
#pragma once
#include <cstdint>
#include <functional>

#include "platform/core/Exceptions.h"
#include "platform/core/Streams.h"

namespace qv {

// Raised when the tables cannot be had and when a block cannot be unpacked
// (bad plain size, code that ends too early).
QV_EXCEPTION(ElzhException, Exception)

// Byte sources and sinks of the coder. The coder always asks for one byte;
// a source that reports fewer bytes than asked has no more.
using TReadProc = std::function<void(void* DTA, uint16_t NBytes, uint16_t& Bytes_Got)>;
using TWriteProc = std::function<void(const void* DTA, uint16_t NBytes, uint16_t& Bytes_Put)>;

class TLZH {
 public:
  TLZH() = default;
  ~TLZH();
  TLZH(const TLZH&) = delete;
  TLZH& operator=(const TLZH&) = delete;

  // Codes everything GetBytes delivers; Bytes_Written := the plain bytes read.
  // Writes no size field.
  void LZHPack(int32_t& Bytes_Written, const TReadProc& GetBytes, const TWriteProc& PutBytes);
  // Decodes until TextSize plain bytes are out (nothing for TextSize <= 0).
  // Never delivers more than TextSize bytes; raises ElzhException when the
  // code ends before they are all decoded.
  void LZHUnpack(int32_t TextSize, const TReadProc& GetBytes, const TWriteProc& PutBytes);

  // Callbacks over StreamIn and StreamOut.
  void GetBlockStream(void* DTA, uint16_t NBytes, uint16_t& Bytes_Got);
  void PutBlockStream(const void* DTA, uint16_t NBytes, uint16_t& Bytes_Got);

  // Block writer: source from its start becomes one block at target's start.
  void PackStream(TStream& source, TStream& target);
  // Block reader: the block at source's start is unpacked to target's start.
  // A negative plain size, one that the code cannot hold, or code that ends
  // early raises ElzhException; target never receives more than the plain size.
  void UnpackStream(TStream& source, TStream& target);

 private:
  template <class In, class Out>
  void Encode(In& in, Out& out);
  template <class In, class Out>
  void Decode(int32_t size, In& in, Out& out);
  template <class Bits>
  void EncodeChar(Bits& bits, unsigned c);
  template <class Bits>
  void EncodePosition(Bits& bits, unsigned c);
  template <class Bits>
  int DecodeChar(Bits& bits);
  template <class Bits>
  int DecodePosition(Bits& bits);

  void AllocTables();
  void FreeTables();
  void StartHuff();
  void Reconst();
  void Update(int c);
  void UpdateAlong(int c, const uint16_t* down, unsigned depth);
  void Climb(int c);
  int Promote(int c, unsigned k);
  void InitTree();
  void InsertNode(int r);
  void DeleteNode(int p);

  uint16_t code = 0, len = 0;
  TStream* StreamIn = nullptr;
  TStream* StreamOut = nullptr;
  uint16_t getbuf = 0;
  uint8_t getlen = 0;
  uint8_t putlen = 0;
  uint16_t putbuf = 0;
  int32_t textsize = 0;
  int32_t codesize = 0;
  [[maybe_unused]] int32_t printcount = 0;  // kept from the record layout; nothing prints
  int16_t match_position = 0, match_length = 0;
  uint8_t* text_buf = nullptr;
  uint16_t* link = nullptr;  // children of node p: left at 2p, right at 2p + 1
  uint16_t* dad = nullptr;
  bool straight = false;  // the last search went right all the way down
  uint16_t* freq = nullptr;
  uint16_t* prnt = nullptr;
  uint16_t* son = nullptr;
};

// One-shot block writer and reader with a coder of their own.
void PackStream(TStream& source, TStream& target);
void UnpackStream(TStream& source, TStream& target);

}  // namespace qv
