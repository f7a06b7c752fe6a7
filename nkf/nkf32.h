#pragma once

#include <stdint.h>

#if defined(__GNUC__)
#define NKF32_EXPORT __attribute__((visibility("default")))
#else
#define NKF32_EXPORT
#endif

/*
 * The kanji code conversion library.
 *
 * State kept between calls (one set per process; the calls are serialised by a
 * lock, so concurrent callers cannot corrupt it, but they share it):
 *  - the options of the last SetNkfOption call; they hold for every conversion
 *    until the next SetNkfOption, which replaces them as a whole;
 *  - the input encoding and the replacement count of the last conversion, read by
 *    NkfGetKanjiCode and NkfGetReplacedCount;
 *  - the output of the last sizing call (NkfConvertSafe with no buffer), kept so
 *    that the conversion call that follows with the same input and options does
 *    not convert a second time. It is used only when the input has the same
 *    address, length and content fingerprint; a new SetNkfOption or a completed
 *    conversion releases it.
 *
 * Options (blank-separated; unknown ones are ignored, a later one overrides an
 * earlier one of the same kind):
 *  input   -S Shift_JIS, -E EUC-JP, -J ISO-2022-JP, -W8 UTF-8, -W16L / -W16B UTF-16;
 *          with none of them the input encoding is detected
 *  output  -s Shift_JIS, -e EUC-JP, -j ISO-2022-JP, -w / -w8 UTF-8 without / with
 *          byte-order mark, -w16L0 / -w16L and -w16B0 / -w16B UTF-16 without / with
 *          mark; without an output option the output is UTF-8 without mark
 *  newline -Lu LF, -Lw CR+LF, -Lm CR for every line end of the output; without one
 *          the line ends are kept as they are
 */

/* The encoding codes that NkfGetKanjiCode reports. Callers compare with these names,
 * never with the numbers. */
enum {
    NKF_SHIFT_JIS = 0, /* Shift_JIS (CP932) */
    NKF_EUC_JP = 1,    /* EUC-JP (eucJP-ms) */
    NKF_ISO_2022_JP = 2,
    NKF_UTF8 = 3,
    NKF_UTF16_LE = 4, /* UTF-16 little endian */
    NKF_UTF16_BE = 5  /* UTF-16 big endian */
};

#ifdef __cplusplus
extern "C" {
#endif

/* Replaces the options for the conversions that follow. Returns nonzero, or zero
 * for a null string (the options are then left as they were). */
NKF32_EXPORT int SetNkfOption(const char *options);

/* Converts the whole input. With a null output buffer and capacity 0 it only
 * measures: it succeeds and stores in *written the number of bytes the whole
 * conversion needs. With a buffer at least that large it writes the output and
 * stores the number of bytes written. A smaller buffer fails, writes nothing into
 * it and stores the number of bytes needed. Invalid input does not fail the
 * conversion: it is replaced and counted (NkfGetReplacedCount). Returns zero for
 * null arguments that cannot be right (no count, no input with a nonzero length, no
 * buffer with a nonzero capacity), for output longer than 4 GiB - 1 bytes and when
 * memory runs out. */
NKF32_EXPORT int NkfConvertSafe(char *output, uint32_t capacity, uint32_t *written, const char *input, uint32_t length);

/* The encoding code of the last conversion's input, given or detected; NKF_UTF8
 * before the first conversion. Pure ASCII input is reported as UTF-8. */
NKF32_EXPORT int NkfGetKanjiCode(void);

/* How many replacements the last conversion made: invalid input sequences (each
 * becomes U+FFFD in a Unicode output, "?" in the others) and characters that the
 * output encoding cannot represent (each becomes "?"). */
NKF32_EXPORT uint32_t NkfGetReplacedCount(void);

#ifdef __cplusplus
}
#endif
