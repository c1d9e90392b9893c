#pragma once
// The socket error codes of the co-host link (the Winsock numbering, which
// the hosts' texts were written for) and the texts shown for them.
#include <string>

namespace kestrova {

// The codes the link's socket adapter reports (see link_socket.cpp for which
// Qt error becomes which code).
namespace wsa {
constexpr int Canceled = 10004;
constexpr int Access = 10013;
constexpr int TooManyFiles = 10024;
constexpr int WouldBlock = 10035;
constexpr int InProgress = 10036;
constexpr int MessageSize = 10040;
constexpr int AddressFamily = 10047;
constexpr int AddressInUse = 10048;
constexpr int AddressNotAvailable = 10049;
constexpr int NetworkDown = 10050;
constexpr int NetworkUnreachable = 10051;
constexpr int ConnectionAborted = 10053;
constexpr int ConnectionReset = 10054;
constexpr int NoBuffers = 10055;
constexpr int TimedOut = 10060;
constexpr int ConnectionRefused = 10061;
constexpr int HostNotFound = 11001;
constexpr int TryAgain = 11002;
constexpr int NoRecovery = 11003;
constexpr int NoData = 11004;
}  // namespace wsa

// The text of a code, "Unknown error." for a code the table lacks.
std::string SocketErrorText(int code);
// "Error connecting to %s: %s (%d)".
std::string SocketErrorMessage(const std::string& host, int code);

}  // namespace kestrova
