#pragma once
// Reads CSV as RFC 4180 has it, strictly: records end with CR LF, a quoted
// field may hold commas, CR LF and doubled quotes. Anything else fails the
// test that reads it.
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace purgent::testing {

using CsvRecord = std::vector<std::string>;

inline std::vector<CsvRecord> ReadCsv(const std::string& text) {
    std::vector<CsvRecord> records;
    CsvRecord record;
    std::string field;
    std::size_t i = 0;
    while (i < text.size()) {
        if (text[i] == '"') {
            for (++i;; ++i) {
                if (i >= text.size()) {
                    ADD_FAILURE() << "a quoted field is not closed";
                    return records;
                }
                if (text[i] == '"' && i + 1 < text.size() && text[i + 1] == '"') {
                    field += '"';
                    ++i;
                } else if (text[i] == '"') {
                    ++i;
                    break;
                } else {
                    field += text[i];
                }
            }
        } else {
            while (i < text.size() && text[i] != ',' && text[i] != '\r' && text[i] != '\n' && text[i] != '"')
                field += text[i++];
        }
        record.push_back(std::move(field));
        field.clear();
        if (i < text.size() && text[i] == ',') {
            ++i;
        } else if (text.compare(i, 2, "\r\n") == 0) {
            i += 2;
            records.push_back(std::move(record));
            record.clear();
        } else {
            ADD_FAILURE() << "a field ends in neither a comma nor CR LF at byte " << i;
            return records;
        }
    }
    EXPECT_TRUE(record.empty()) << "the last record does not end with CR LF";
    return records;
}

}  // namespace purgent::testing
