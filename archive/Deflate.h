#pragma once
// The deflate compressor of the zip writer (raw deflate data, RFC 1951): hash chains,
// lazy match evaluation, blocks of dynamic, fixed or stored codes. One state serves every
// entry of a writer; input and output pass through the writer's callbacks.

#include <cstdint>

struct stDeflateState;

// Asked for up to `size` bytes; 0 or 0xFFFFFFFF means the input has ended.
typedef unsigned int (*DeflateReadFn)(stDeflateState* state, uint8_t* buffer, unsigned int size);
// Writes *size bytes; returns the number written and, on success, sets *size to 0.
typedef unsigned int (*DeflateWriteFn)(void* param, const uint8_t* buffer, unsigned int* size);

// Deflate's constants (RFC 1951 and the zip writer's settings).
constexpr int kDeflateMinMatch = 3;
constexpr int kDeflateMaxMatch = 258;
constexpr unsigned kDeflateWSize = 0x8000;                 // half the window
constexpr unsigned kDeflateWMask = kDeflateWSize - 1;
constexpr unsigned kDeflateMinLookahead = kDeflateMaxMatch + kDeflateMinMatch + 1;  // 262
constexpr unsigned kDeflateMaxDist = kDeflateWSize - kDeflateMinLookahead;          // 32506
constexpr unsigned kDeflateTooFar = 4096;                  // farthest 3-byte match
constexpr unsigned kDeflateHashBits = 15;
constexpr unsigned kDeflateHashSize = 1u << kDeflateHashBits;
constexpr unsigned kDeflateHashMask = kDeflateHashSize - 1;
constexpr unsigned kDeflateHashShift = 5;
constexpr int kDeflateMaxBits = 15;                        // longest literal/distance code
constexpr int kDeflateMaxBlBits = 7;                       // longest bit-length code
constexpr int kDeflateLengthCodes = 29;
constexpr int kDeflateLiterals = 256;
constexpr int kDeflateEndBlock = 256;
constexpr int kDeflateLCodes = kDeflateLiterals + 1 + kDeflateLengthCodes;  // 286
constexpr int kDeflateDCodes = 30;
constexpr int kDeflateBlCodes = 19;
constexpr int kDeflateHeapSize = 2 * kDeflateLCodes + 1;   // 573
constexpr unsigned kDeflateLitBufSize = 0x8000;
constexpr unsigned kDeflateDistBufSize = 0x8000;
constexpr unsigned kDeflateOutBufSize = 16384;             // the writer's output buffer
constexpr int kDeflateZipLevel = 8;                        // the level the zip writer uses

// Result of the writer's deflate step when a check of the compressor failed.
constexpr int kDeflateFailed = 0x5000000;

struct stTreeNode {
    uint16_t fc;  // frequency, or code
    uint16_t dl;  // parent (father), or code length
};

struct stTreeDesc {
    stTreeNode* dyn_tree;
    const stTreeNode* static_tree;
    const int* extra_bits;
    int extra_base;
    int elems;
    int max_length;
    int max_code;
};

struct stDeflateState {
    void* param = nullptr;  // handed back to the write callback
    int level = 0;
    DeflateReadFn read = nullptr;
    DeflateWriteFn write = nullptr;

    // Trees.
    stTreeNode dyn_ltree[kDeflateHeapSize];
    stTreeNode dyn_dtree[2 * kDeflateDCodes + 1];
    stTreeNode static_ltree[kDeflateLCodes + 2];
    stTreeNode static_dtree[kDeflateDCodes];
    stTreeNode bl_tree[2 * kDeflateBlCodes + 1];
    stTreeDesc l_desc;
    stTreeDesc d_desc;
    stTreeDesc bl_desc;
    uint16_t bl_count[kDeflateMaxBits + 1];
    int heap[2 * kDeflateLCodes + 1];
    int heap_len = 0;
    int heap_max = 0;
    uint8_t depth[2 * kDeflateLCodes + 1];
    uint8_t length_code[256];
    uint8_t dist_code[512];
    int base_length[kDeflateLengthCodes];
    int base_dist[kDeflateDCodes];
    bool static_built = false;

    // The block's items.
    uint8_t l_buf[kDeflateLitBufSize];
    uint16_t d_buf[kDeflateDistBufSize];
    uint8_t flag_buf[kDeflateLitBufSize / 8];
    unsigned last_lit = 0;
    unsigned last_dist = 0;
    unsigned last_flags = 0;
    uint8_t flags = 0;
    uint8_t flag_bit = 1;
    uint64_t opt_len = 0;
    uint64_t static_len = 0;
    uint64_t cmpr_bits = 0;   // compressed bits of the entry
    uint64_t input_len = 0;   // input bytes of the entry
    uint16_t* file_type = nullptr;

    // Bit output.
    int flush_flag = 1;
    uint16_t bi_buf = 0;
    int bi_valid = 0;
    uint8_t* out_buf = nullptr;
    unsigned out_offset = 0;
    unsigned out_size = 0;
    uint64_t bits_sent = 0;

    // Matching.
    uint8_t window[2 * kDeflateWSize];
    uint32_t prev[kDeflateWSize];
    uint32_t head[kDeflateHashSize];
    unsigned window_size = 0;
    bool sliding = false;
    unsigned ins_h = 0;
    unsigned prev_length = 0;
    unsigned strstart = 0;
    unsigned match_start = 0;
    bool eofile = false;
    unsigned lookahead = 0;
    int64_t block_start = 0;
    // The bytes of the current block that a slide moved out of the window, so that a
    // block that does not compress can still be stored.
    uint8_t spill[0x10000];
    unsigned spill_len = 0;
    bool spill_ok = false;
    unsigned max_chain_length = 0;
    unsigned max_lazy_match = 0;
    unsigned good_match = 0;
    unsigned nice_match = 0;

    // Message of the check that failed, or null.
    const char* error = nullptr;
};

// A new state (without static trees), or null when there is no memory; freed with delete.
stDeflateState* CreateDeflateState();

// Empties the bit buffer and counters; output goes to `buffer` of `size` bytes, written
// out through the write callback whenever it fills (flush 1) or kept (flush 0).
void InitBitOutput(stDeflateState* s, uint8_t* buffer, unsigned size, int flush);
// Starts an entry: clears its counters, builds the code tables on first use, starts a block.
void ct_init(stDeflateState* s, uint16_t* attr);
// Loads the level's parameters (1 to 8), sets the deflate option bits in *flags, reads the
// first input and primes the hash.
void SetPackLevel(stDeflateState* s, int level, uint16_t* flags);
// Compresses the whole input; gives the entry's compressed size in bytes. The error text
// is set when a check failed; the output is then not to be used.
uint64_t Deflate(stDeflateState* s);

// Internal steps shared by the match finder and the trees.
bool ct_tally(stDeflateState* s, unsigned dist, unsigned lc);
uint64_t FlushBlock(stDeflateState* s, const uint8_t* buf, uint64_t stored_len, bool eof);
void DeflateFail(stDeflateState* s, const char* message);
