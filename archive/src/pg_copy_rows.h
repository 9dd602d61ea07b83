#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace pelorin::pg {

// Rows for a COPY ... FROM STDIN (FORMAT binary): the server reads each field as it is, so no
// number is written out as text and parsed back, and every double arrives bit for bit.
class CopyRows {
  public:
    CopyRows();

    // Starts a row of `fields` fields, which the calls below then fill in column order.
    void row(int fields);
    void integer(std::int64_t value);  // BIGINT
    void small(std::int32_t value);    // INTEGER
    void real(double value);           // DOUBLE PRECISION
    void text(std::string_view value);
    void null();

    // The rows with the end marker, for Connection::copyIn.
    const std::string& finish();

  private:
    void bigEndian(std::uint64_t value, int bytes);

    std::string data_;
};

}  // namespace pelorin::pg
