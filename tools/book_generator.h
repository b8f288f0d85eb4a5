// Realistic made-up books for tests, benchmarks, fuzz seeds and the demo
// sample: the same records for the same seed on every machine.
#pragma once

#include <cstddef>
#include <cstdint>

#include "store/student_record.h"

inline constexpr std::uint32_t kBookSeed = 20240917;

// `count` live records: student numbers; first, middle and last names
// (some lower-case, hyphenated or of two words, a few with Windows-1252
// accented letters); gender; birthday; phones; e-mails; parents; and an
// address of one to five parts, sometimes with empty parts between. Every
// field holds at most 99 characters and no tab or line feed.
RecordList GenerateBook(std::size_t count, std::uint32_t seed = kBookSeed);

// One such record from the generator state `state` (advanced).
StudentRecord GenerateRecord(std::uint64_t& state);
