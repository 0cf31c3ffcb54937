#pragma once
// The unit's side of the protocol, for tests, demos and training without hardware.
// Feed it the bytes the tool writes; it answers with the bytes a unit would send
// and records every request it understood.

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <vector>

#include "link/Frame.h"

namespace kq::sim {

struct SimIdentity {
    uint8_t model = 0x82;
    uint8_t software = 21;  // major * 10 + minor
    uint8_t hardware = 3;
    uint8_t status = 0;           // byte 2 of the identification reply
    bool reportsHardware = true;  // false: a three-byte reply without the hardware byte
};

// Misbehaviour on request, to test how the tool copes.
struct SimFaults {
    bool silent = false;         // answer nothing
    bool refuseAll = false;      // refuse every request
    std::set<uint8_t> refused;   // refuse these command codes
    bool badChecksum = false;    // damage the checksum of every reply
    std::vector<uint8_t> noise;  // bytes sent before every reply
    int answerLimit = -1;        // stop answering after this many requests (-1: never)
    bool paced = false;          // deliver replies at the real 115200-baud rate
};

struct SimRequest {
    uint8_t command = 0;
    std::vector<uint8_t> data;
    bool operator==(const SimRequest&) const = default;
};

// Where each model keeps its configuration: the 0x82 block, or storage block 590.
constexpr uint16_t kConfigBlockNumber = 590;

class SimUnit {
  public:
    // Starts with the factory configuration of identity.model.
    explicit SimUnit(SimIdentity identity = {});

    // The configuration block as the unit holds it now.
    std::vector<uint8_t> Configuration() const;
    void SetConfiguration(std::vector<uint8_t> block);
    // A change made on the unit's front panel: the configuration changes and the
    // status byte asks the tool to read it again.
    void FrontPanelChange(std::vector<uint8_t> block);

    // Called whenever something the unit keeps across power cycles has changed.
    std::function<void()> onStoredChange;

    // Bytes from the line in, bytes for the line out (empty when the unit stays silent).
    std::vector<uint8_t> Receive(std::span<const uint8_t> bytes);

    const std::vector<SimRequest>& Requests() const { return requests_; }
    const std::vector<uint8_t>& RawReceived() const { return raw_; }
    void ClearRecords();

    // Called for every request understood, with whether it was accepted; kqsim logs with it.
    std::function<void(const SimRequest&, std::optional<bool> accepted)> observer;

    SimIdentity identity;
    SimFaults faults;

    // Model 0x82: the configuration block, shell, file system and image loader.
    std::vector<uint8_t> configBlock;
    std::vector<std::string> shellLines;
    std::map<std::string, std::vector<uint8_t>> files;
    std::vector<uint8_t> committedImage;
    int restarts = 0;

    // Model 0x78: numbered storage blocks.
    std::map<uint16_t, std::vector<uint8_t>> blocks;
    int blockCommits = 0;  // 0xB0 requests

  private:
    struct Reply {
        bool accepted = true;
        std::vector<uint8_t> data;
    };
    static Reply Refuse() { return {false, {}}; }

    std::optional<Reply> Dispatch(const SimRequest& request);
    Reply Identify();
    Reply FileCommand(std::span<const uint8_t> data);
    Reply StorageBlock(std::span<const uint8_t> data);
    Reply ImageLoader(std::span<const uint8_t> data);
    std::vector<uint8_t> Frame(const Reply& reply) const;

    std::vector<uint8_t> store_;
    FrameParser parser_;
    std::vector<SimRequest> requests_;
    std::vector<uint8_t> raw_;
    int answered_ = 0;

    // Open storage block or file, and the image being loaded.
    enum class Access { None, Reading, Writing };
    Access access_ = Access::None;
    uint16_t openBlock_ = 0;
    size_t readPos_ = 0;
    std::vector<uint8_t> writeBuffer_;
    std::optional<std::string> openFile_;
    std::vector<uint8_t> image_;
    bool loadingImage_ = false;
};

}  // namespace kq::sim
