#pragma once
// Reads request frames from the host line and writes response frames,
// keeping the last response for ENQ. Prints the frame reader's diagnostics.

#include <string>

#include "common/result_code.h"
#include "serial/serialport.h"
#include "state/transaction.h"

class FrameLink {
  public:
    // `port` may be null (no host line): every read then answers 8.
    explicit FrameLink(rs::SerialPort* port);

    // Reads one request. Success with the transaction filled (identifier
    // generated when the host sent 0); otherwise NotServed (no port),
    // ChecksumMismatch, FrameLength or NoFrameStart. A frame may arrive in
    // pieces; it is cut short when the line stays silent for more than
    // 100 ms inside it. Stray bytes before a frame are logged, and an ENQ
    // among them resends the last response.
    ResultCode readRequest(CoreTransaction& t);

    // Stores the result as the last response and writes its frame.
    void sendResponse(const CoreApiResult& r);
    // Writes the frame of the last response again.
    void resendLast();

    const CoreApiResult& lastResponse() const { return last_; }
    // Code 17, identifier 0, no data: what an ENQ before any request gets.
    void resetLastResponse();

  private:
    // Reads exactly n bytes into `got`, waiting while the line delivers;
    // false when the port fails or stays silent for more than 100 ms.
    bool readExactly(std::size_t n, std::string& got);
    void writeFrameOf(const CoreApiResult& r);
    std::string bufferText() const;

    rs::SerialPort* port_;
    CoreApiResult last_;
    // What the last read that delivered anything delivered, for diagnostics.
    std::string buffer_;
};
