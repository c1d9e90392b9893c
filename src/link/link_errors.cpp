#include "link/link_errors.h"

#include <algorithm>
#include <iterator>

#include "common/text.h"

namespace kestrova {

namespace {
struct TCodeText {
    int Code;
    const char* Text;
};
const TCodeText kTexts[] = {
    {10004, "The operation is canceled."},
    {10013, "The requested address is a broadcast address, but flag is not set."},
    {10014, "Invalid argument."},
    {10022, "Socket not bound, invalid address or listen is not invoked prior to accept."},
    {10024, "No more file descriptors are available, accept queue is empty."},
    {10035, "Socket is non-blocking and the specified operation will block."},
    {10036, "A blocking Winsock operation is in progress."},
    {10037, "The operation is completed.  No blocking operation is in progress."},
    {10038, "The descriptor is not a socket."},
    {10039, "Destination address is required."},
    {10040, "The datagram is too large to fit into the buffer and is truncated."},
    {10041, "The specified port is the wrong type for this socket."},
    {10042, "Option unknown, or unsupported."},
    {10043, "The specified port is not supported."},
    {10044, "Socket type not supported in this address family."},
    {10045, "Socket is not a type that supports connection oriented service."},
    {10047, "Address Family is not supported."},
    {10048, "Address in use."},
    {10049, "Address is not available from the local machine."},
    {10050, "Network subsystem failed."},
    {10051, "The network cannot be reached from this host at this time."},
    {10052, "Connection has timed out when SO_KEEPALIVE is set."},
    {10053, "Connection is aborted due to timeout or other failure."},
    {10054, "The connection is reset by remote side."},
    {10055, "No buffer space is available."},
    {10056, "Socket is already connected."},
    {10057, "Socket is not connected."},
    {10058, "Socket has been shut down."},
    {10060, "The attempt to connect timed out."},
    {10061, "Connection is forcefully rejected."},
    {10201, "Socket already created for this object."},
    {10202, "Socket has not been created for this object."},
    {11001, "Authoritative answer: Host not found."},
    {11002, "Non-Authoritative answer: Host not found."},
    {11003, "Non-recoverable errors."},
    {11004, "Valid name, no data record of requested type."},
};
}  // namespace

std::string SocketErrorText(int code) {
    auto it = std::find_if(std::begin(kTexts), std::end(kTexts),
                           [code](const TCodeText& t) { return t.Code == code; });
    return it == std::end(kTexts) ? "Unknown error." : it->Text;
}

std::string SocketErrorMessage(const std::string& host, int code) {
    return Format("Error connecting to %s: %s (%d)", host.c_str(), SocketErrorText(code).c_str(),
                  code);
}

}  // namespace kestrova
