#pragma once
// The bulk data generator's settings. The document keeps them while the program
// runs so the generator opens with the user's last choices; they are not saved.

#include <cstdint>
#include <string>
#include <vector>

namespace radove {

struct BulkSettings {
  int validBits = 8;          // 1..63
  int insertType = 1;         // 1 data, 2 command, 3 command and data packets
  int codeType = 1;           // 1 plain, 2 BCD seven-segment, 10 hex seven-segment, 11 BCD-hex
  int reverse = 1;            // 1 no, 2 yes
  int invert = 1;             // 1 no, 2 yes
  int lengthBasis = 1;        // 1 step, 2 count
  int sequenceType = 2;       // 2 arithmetic, 4 random
  std::int64_t start = 0;
  std::int64_t end = 0;
  std::int64_t stepOrCount = 1;
  int commandsPerPacket = 1;  // 1..100
  int dataPerPacket = 1;      // 1..100
  int packetRepetitions = 0;  // 0..100
  std::string decimalPreview;
  std::string hexPreview;
  std::vector<std::int64_t> result;  // the generated values
  bool operator==(const BulkSettings&) const = default;
};

}  // namespace radove
