#include "sim/bus.h"

#include "link/frame.h"

#include <algorithm>

namespace zr::sim
{

std::vector<Chunk> Bus::receive(const QByteArray& bytes, link::Parity parity, int baud)
{
    std::vector<Chunk> out;
    if (baud != meter_.state().baud)
        return out;
    if (parity == link::Parity::Mark) {
        for (char b : bytes) {
            frame_.clear();
            selected_ = !faults_.noEcho && uint8_t(b) == meter_.state().address;
            if (selected_)
                out.push_back({QByteArray(1, b), 0});
        }
        return out;
    }
    if (!selected_)
        return out;
    frame_ += bytes;
    if (!frame::ResponseComplete(frame_))
        return out;
    // One frame per address byte; whatever follows it in the same chunk is not ours.
    const QByteArray request = frame_.left(uint8_t(frame_[1]) + 2);
    frame_.clear();
    selected_ = false;
    return respond(request);
}

std::vector<Chunk> Bus::respond(const QByteArray& request)
{
    const uint8_t function = uint8_t(request[0]);
    if (faults_.silentFor.contains(function))
        return {};
    QByteArray response = faults_.errorFor.contains(function)
                              ? ErrorResponse(function, faults_.errorFor.value(function))
                              : meter_.answer(request);
    if (response.isEmpty())
        return {};
    if (faults_.badChecksumFor.contains(function))
        response[response.size() - 2] = char(response[response.size() - 2] ^ 0xFF);
    if (faults_.surplusFor.contains(function))
        response.append('\0');

    const int size = int(response.size());
    const int pieces = std::clamp(faults_.pieces, 1, size);
    std::vector<Chunk> out;
    for (int i = 0; i < pieces; ++i) {
        const int from = i * size / pieces;
        const int to = (i + 1) * size / pieces;
        out.push_back(
            {response.mid(from, to - from), i == 0 ? std::max(faults_.delayMs, 0) : kPieceGapMs});
    }
    return out;
}

std::vector<Run> MarkDecoder::decode(const QByteArray& bytes)
{
    std::vector<Run> runs;
    const auto put = [&runs](char b, link::Parity parity) {
        if (runs.empty() || runs.back().parity != parity)
            runs.push_back({{}, parity});
        runs.back().bytes.append(b);
    };
    QByteArray in = pending_ + bytes;
    pending_.clear();
    int i = 0;
    while (i < in.size()) {
        if (uint8_t(in[i]) != 0xFF) {
            put(in[i++], link::Parity::Space);
            continue;
        }
        if (i + 1 >= in.size() || (in[i + 1] == '\0' && i + 2 >= in.size())) {
            pending_ = in.mid(i);
            break;
        }
        if (uint8_t(in[i + 1]) == 0xFF) {
            put(char(0xFF), link::Parity::Space);
            i += 2;
        } else if (in[i + 1] == '\0') {
            put(in[i + 2], link::Parity::Mark);
            i += 3;
        } else {
            // Not a marking sequence: a lone FF taken as data.
            put(in[i++], link::Parity::Space);
        }
    }
    return runs;
}

} // namespace zr::sim
