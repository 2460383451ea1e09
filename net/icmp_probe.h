#pragma once

#include "net/module1.h"

#include <cstdint>

namespace net {

/// The echo over an ICMP socket of this machine: the unprivileged ping socket when the system
/// allows it, else a raw socket (root). Only the echo reply that answers our own request
/// counts; everything else the socket sees is skipped until the deadline.
class IcmpSocketProbe final : public EchoProbe {
  public:
    IcmpSocketProbe();
    int sendEcho(std::int32_t address, std::string_view payload, IcmpEchoReply& reply,
                 int timeoutMs) override;

  private:
    std::uint16_t identifier_;
    std::uint16_t sequence_ = 0;
};

}  // namespace net
