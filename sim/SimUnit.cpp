#include "SimUnit.h"

#include <algorithm>

#include "FactoryConfig.h"

namespace kq::sim {
namespace {

uint16_t Le16(std::span<const uint8_t> d, size_t at) {
    return static_cast<uint16_t>(d[at] | (d[at + 1] << 8));
}

}  // namespace

SimUnit::SimUnit(SimIdentity id)
    : identity(id), store_(kLinkBufferSize), parser_(store_, IsRequestHeader) {
    SetConfiguration(FactoryBlock(identity.model));
}

std::vector<uint8_t> SimUnit::Configuration() const {
    if (identity.model == 0x82) {
        return configBlock;
    }
    const auto it = blocks.find(kConfigBlockNumber);
    return it == blocks.end() ? std::vector<uint8_t>{} : it->second;
}

void SimUnit::SetConfiguration(std::vector<uint8_t> block) {
    if (identity.model == 0x82) {
        configBlock = std::move(block);
    } else {
        blocks[kConfigBlockNumber] = std::move(block);
    }
}

void SimUnit::FrontPanelChange(std::vector<uint8_t> block) {
    SetConfiguration(std::move(block));
    identity.status = 2;
    if (onStoredChange) {
        onStoredChange();
    }
}

void SimUnit::ClearRecords() {
    requests_.clear();
    raw_.clear();
}

std::vector<uint8_t> SimUnit::Receive(std::span<const uint8_t> bytes) {
    std::vector<uint8_t> out;
    raw_.insert(raw_.end(), bytes.begin(), bytes.end());
    for (const uint8_t b : bytes) {
        const auto result = parser_.Feed(b);
        if (result != FrameParser::Result::Good) {
            continue;  // a damaged request goes unanswered, as on the real line
        }
        SimRequest request{parser_.Status(), {store_.begin(), store_.begin() + parser_.Length()}};
        requests_.push_back(request);
        if (faults.silent || (faults.answerLimit >= 0 && answered_ >= faults.answerLimit)) {
            if (observer) {
                observer(request, std::nullopt);
            }
            continue;
        }
        ++answered_;
        std::optional<Reply> reply;
        if (faults.refuseAll || faults.refused.count(request.command)) {
            reply = Refuse();
        } else {
            reply = Dispatch(request);
        }
        if (observer) {
            observer(request, reply ? std::optional<bool>(reply->accepted) : std::nullopt);
        }
        if (reply) {
            const auto frame = Frame(*reply);
            out.insert(out.end(), frame.begin(), frame.end());
        }
    }
    return out;
}

std::vector<uint8_t> SimUnit::Frame(const Reply& reply) const {
    std::vector<uint8_t> frame(faults.noise);
    std::vector<uint8_t> buffer(kLinkBufferSize * 2 + 8);
    const size_t n =
        EncodeFrame(reply.accepted ? kStatusAccepted : kStatusRefused, reply.data, buffer);
    if (n == 0) {
        return frame;
    }
    size_t length = n;
    if (faults.badChecksum) {
        // The checksum is the last byte, doubled when it is 0x02; replace it by one that is not.
        const uint8_t sum = buffer[n - 1];
        if (sum == kFrameStart) {
            --length;
        }
        const uint8_t bad = static_cast<uint8_t>(sum ^ 0x80);
        buffer[length - 1] = bad == kFrameStart ? static_cast<uint8_t>(sum ^ 0x40) : bad;
    }
    frame.insert(frame.end(), buffer.begin(), buffer.begin() + static_cast<long>(length));
    return frame;
}

std::optional<SimUnit::Reply> SimUnit::Dispatch(const SimRequest& r) {
    const bool is82 = identity.model == 0x82;
    const std::span<const uint8_t> data(r.data);
    switch (r.command) {
        case 0x10:
            return Identify();
        case 0x20:
            if (!is82)
                return Refuse();
            ++restarts;
            return Reply{};
        case 0x50:
            if (!is82)
                return Refuse();
            configBlock = r.data;
            if (onStoredChange)
                onStoredChange();
            return Reply{};
        case 0x70:
            if (!is82)
                return Refuse();
            return Reply{true, configBlock};
        case 0x80: {
            if (!is82 || data.empty() || data.back() != 0)
                return Refuse();
            shellLines.emplace_back(data.begin(), data.end() - 1);
            return Reply{};
        }
        case 0xA0:
            if (!is82)
                return Refuse();
            return FileCommand(data);
        case 0xB0:
            if (is82)
                return Refuse();
            ++blockCommits;
            return Reply{};
        case 0xC0:
            return is82 ? ImageLoader(data) : StorageBlock(data);
        case 0xD0:
            if (is82)
                return Refuse();
            ++restarts;
            return Reply{};
        default:
            return Refuse();
    }
}

SimUnit::Reply SimUnit::Identify() {
    Reply reply{true, {identity.model, identity.software, identity.status}};
    if (identity.reportsHardware) {
        reply.data.push_back(identity.hardware);
    }
    identity.status = 0;  // a change is reported once
    return reply;
}

SimUnit::Reply SimUnit::FileCommand(std::span<const uint8_t> d) {
    if (d.empty())
        return Refuse();
    switch (d[0]) {
        case 0x00: {
            if (d.size() < 2 || d.back() != 0)
                return Refuse();
            openFile_ = std::string(d.begin() + 1, d.end() - 1);
            files[*openFile_].clear();
            return Reply{};
        }
        case 0x04:
            if (!openFile_)
                return Refuse();
            files[*openFile_].insert(files[*openFile_].end(), d.begin() + 1, d.end());
            return Reply{};
        case 0x02:
            if (!openFile_)
                return Refuse();
            openFile_.reset();
            return Reply{};
        default:
            return Refuse();
    }
}

SimUnit::Reply SimUnit::StorageBlock(std::span<const uint8_t> d) {
    if (d.empty())
        return Refuse();
    switch (d[0]) {
        case 0x00:  // open for writing
            if (d.size() != 3)
                return Refuse();
            access_ = Access::Writing;
            openBlock_ = Le16(d, 1);
            writeBuffer_.clear();
            return Reply{};
        case 0x01:  // open for reading
            if (d.size() != 3 || !blocks.count(Le16(d, 1)))
                return Refuse();
            access_ = Access::Reading;
            openBlock_ = Le16(d, 1);
            readPos_ = 0;
            return Reply{};
        case 0x02:  // close; a written block takes effect now
            if (access_ == Access::Writing) {
                blocks[openBlock_] = writeBuffer_;
                if (onStoredChange)
                    onStoredChange();
            }
            access_ = Access::None;
            return Reply{};
        case 0x03: {  // read the next count bytes
            if (d.size() != 3 || access_ != Access::Reading)
                return Refuse();
            const auto& block = blocks[openBlock_];
            const size_t n = std::min<size_t>(Le16(d, 1), block.size() - readPos_);
            Reply reply{true,
                        {block.begin() + static_cast<long>(readPos_),
                         block.begin() + static_cast<long>(readPos_ + n)}};
            readPos_ += n;
            return reply;
        }
        case 0x04:
            if (access_ != Access::Writing)
                return Refuse();
            writeBuffer_.insert(writeBuffer_.end(), d.begin() + 1, d.end());
            return Reply{};
        default:
            return Refuse();
    }
}

SimUnit::Reply SimUnit::ImageLoader(std::span<const uint8_t> d) {
    if (d.empty())
        return Refuse();
    switch (d[0]) {
        case 0x00:
            loadingImage_ = true;
            image_.clear();
            return Reply{};
        case 0x01: {
            if (!loadingImage_ || d.size() < 4)
                return Refuse();
            const size_t address = static_cast<size_t>(d[1] << 16 | d[2] << 8 | d[3]);
            if (image_.size() < address + d.size() - 4) {
                image_.resize(address + d.size() - 4);
            }
            std::copy(d.begin() + 4, d.end(), image_.begin() + static_cast<long>(address));
            return Reply{};
        }
        case 0x02:
            if (!loadingImage_)
                return Refuse();
            loadingImage_ = false;
            committedImage = image_;
            return Reply{};
        default:
            return Refuse();
    }
}

}  // namespace kq::sim
