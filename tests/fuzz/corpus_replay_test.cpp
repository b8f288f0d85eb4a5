// Every committed corpus input of the fuzz targets, run through the same
// check as the fuzzer, one test per input.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "fuzz/fuzz_checks.h"

namespace {

namespace fs = std::filesystem;

struct Target {
  const char* name;
  std::string (*check)(std::string_view);
};

constexpr Target kTargets[] = {
    {"fuzz_decode_file", CheckDecodeFile},
    {"fuzz_load_text", CheckLoadText},
    {"fuzz_round_trip", CheckRoundTrip},
    {"fuzz_csv_import", CheckCsvImport},
    {"fuzz_vcard_import", CheckVCardImport},
    {"fuzz_xlsx_import", CheckXlsxImport},
    {"fuzz_journal", CheckJournal},
};

struct CorpusInput {
  const Target* target;
  fs::path path;
};

// Shown by the test runner in place of the raw bytes of the parameter.
void PrintTo(const CorpusInput& input, std::ostream* out) { *out << input.path.string(); }

std::vector<CorpusInput> CorpusOf(const Target& target) {
  std::vector<CorpusInput> inputs;
  const fs::path folder = fs::path(KESTREL_FUZZ_CORPUS) / target.name;
  if (!fs::is_directory(folder)) return inputs;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
    if (entry.is_regular_file()) inputs.push_back({&target, entry.path()});
  }
  std::sort(inputs.begin(), inputs.end(),
            [](const CorpusInput& a, const CorpusInput& b) { return a.path < b.path; });
  return inputs;
}

std::vector<CorpusInput> WholeCorpus() {
  std::vector<CorpusInput> inputs;
  for (const Target& target : kTargets) {
    std::vector<CorpusInput> some = CorpusOf(target);
    inputs.insert(inputs.end(), some.begin(), some.end());
  }
  return inputs;
}

std::string ReadBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// "fuzz_decode_file/table-cut-short" -> "decode_file_table_cut_short"
std::string TestName(const testing::TestParamInfo<CorpusInput>& info) {
  std::string name =
      std::string(info.param.target->name + 5) + "_" + info.param.path.filename().string();
  for (char& c : name) {
    if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
  }
  return name;
}

class CorpusReplay : public testing::TestWithParam<CorpusInput> {};

TEST_P(CorpusReplay, EveryPropertyHolds) {
  const CorpusInput& input = GetParam();
  std::ifstream probe(input.path, std::ios::binary);
  ASSERT_TRUE(probe.good()) << input.path;
  EXPECT_EQ(input.target->check(ReadBytes(input.path)), "") << input.path;
}

INSTANTIATE_TEST_SUITE_P(Corpus, CorpusReplay, testing::ValuesIn(WholeCorpus()), TestName);

TEST(CorpusReplay, EachTargetHasSeeds) {
  for (const Target& target : kTargets) {
    EXPECT_GE(CorpusOf(target).size(), 5u) << target.name;
  }
}

}  // namespace
