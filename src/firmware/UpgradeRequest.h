#pragma once
// What the "Firm. Reload" button asks of the next connection.

namespace kq {

struct UpgradeRequest {
    bool ForcedReload = false;    // drop the connection and reload the firmware
    bool ChecksumBypass = false;  // load it even where the digests would refuse
};

}  // namespace kq
