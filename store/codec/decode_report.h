// What decoding a data file found: its header, table and payload, and the
// first problem that makes it damaged.
#pragma once

#include <cstdint>
#include <string>
#include <utility>

struct DecodeReport {
  std::uint64_t fileBytes = 0;

  // Header. The fields hold what the file says once headerComplete is true.
  bool headerComplete = false;  // the file holds all 7 header bytes
  std::uint8_t checksum = 0;
  std::int32_t totalBits = 0;
  std::int16_t tableSize = 0;
  bool checksumOk = false;

  // Table.
  int tableEntries = 0;            // entries read (tableSize / 5 when whole)
  std::uint64_t countSum = 0;      // sum of the positive counts: the bytes promised
  std::int64_t bitsForCounts = 0;  // code bits the counts need; totalBits of a sound file

  // Payload.
  std::uint64_t payloadBytesNeeded = 0;   // (totalBits + 7) / 8
  std::uint64_t payloadBytesPresent = 0;  // bytes after the table
  std::uint64_t bytesDecoded = 0;

  // Whether the file can be trusted as a book, and if not, why, in words fit
  // for a person ("payload cut short: 812 of 1024 bytes"). Empty when sound.
  bool damaged = false;
  std::string problem;

  // Marks the report damaged with `what`, unless a problem was found earlier.
  void Damage(std::string what) {
    if (damaged) return;
    damaged = true;
    problem = std::move(what);
  }
};
