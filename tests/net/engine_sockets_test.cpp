// The engine's socket functions on their own: null handles, waiting and non-waiting receive and
// accept, end-of-connection tracking and sends to a peer that has gone.
#include "engine/kv_engine.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <future>
#include <string>
#include <thread>
#include <vector>

#include "scripted_server.h"

namespace {

KV_HANDLE Created() {
  KV_HANDLE handle;
  EXPECT_EQ(KvSocketCreate(&handle), 1);
  EXPECT_FALSE(handle.IsNull());
  return handle;
}

// A connected pair over 127.0.0.1: a client and the connection the server accepted.
struct Pair {
  KV_HANDLE listener = Created(), client = Created(), accepted = Created();
  Pair() {
    EXPECT_EQ(KvSocketOpen(listener, KV_SOCKET_TCP_IPV4), 1);
    unsigned short port =
        ListenOnAFreePort([this](unsigned short p) { return KvSocketListen(listener, p, 4) == 1; });
    EXPECT_NE(port, 0);
    EXPECT_EQ(KvSocketOpen(client, KV_SOCKET_TCP_IPV4), 1);
    EXPECT_EQ(KvSocketConnect(client, "127.0.0.1", port), 1);
    // The listener waits in accept by default; the connection is already queued.
    EXPECT_EQ(KvSocketAccept(accepted, listener), 1);
  }
  ~Pair() {
    KvSocketDestroy(listener);
    KvSocketDestroy(client);
    KvSocketDestroy(accepted);
  }
};

KV_ARRAY<unsigned char> Bytes(const std::string& text) {
  KV_ARRAY<unsigned char> array((unsigned int)text.size());
  for (size_t i = 0; i < text.size(); ++i) array.data[i] = (unsigned char)text[i];
  return array;
}

TEST(EngineSockets, NullAndUnknownHandlesAreHarmless) {
  KV_HANDLE null;
  KvSocketDestroy(null);
  KV_HANDLE unknown;
  unknown.endFlag = 0;
  unknown.value = 0x7ffffff0;
  KvSocketDestroy(unknown);
  EXPECT_EQ(KvSocketCreate(nullptr), 0);
  EXPECT_EQ(KvSocketOpen(null, KV_SOCKET_TCP_IPV4), 0);
  EXPECT_EQ(KvSocketIsConnected(null), 0);
  EXPECT_EQ(KvSocketIsConnected(unknown), 0);
  EXPECT_EQ(KvSocketAsync(unknown, 1), 0);
  KV_ARRAY<unsigned char> data = Bytes("abc");
  EXPECT_EQ(KvSocketSend(unknown, &data, KV_SEND_ALL, 0, 0), 0u);
  EXPECT_EQ(KvSocketReceive(unknown, &data, 0, 0), 0u);
  EXPECT_EQ(data.Size(), 3u);  // a failed receive leaves the array alone
  // A null handle releases the array's bytes.
  EXPECT_EQ(KvSocketReceive(null, &data, 0, 0), 0u);
  EXPECT_TRUE(data.IsEmpty());

  // A socket that was created but never connected is not connected and sends nothing.
  KV_HANDLE fresh = Created();
  EXPECT_EQ(KvSocketIsConnected(fresh), 0);
  KV_ARRAY<unsigned char> more = Bytes("x");
  EXPECT_EQ(KvSocketSend(fresh, &more, KV_SEND_ALL, 0, 0), 0u);
  EXPECT_EQ(KvSocketOpen(fresh, 9), 0);
  KvSocketDestroy(fresh);
  KvSocketDestroy(fresh);  // twice: the second does nothing
}

TEST(EngineSockets, AsyncReceiveAndAcceptReturnAtOnce) {
  Pair pair;
  EXPECT_EQ(KvSocketAsync(pair.listener, 1), 1);
  KV_HANDLE spare = Created();
  EXPECT_EQ(KvSocketAccept(spare, pair.listener), 0);  // nobody waits
  KvSocketDestroy(spare);

  EXPECT_EQ(KvSocketAsync(pair.accepted, 1), 1);
  KV_ARRAY<unsigned char> block;
  EXPECT_EQ(KvSocketReceive(pair.accepted, &block, 0, 0), 0u);
  EXPECT_EQ(KvSocketIsConnected(pair.accepted), 1);

  KV_ARRAY<unsigned char> data = Bytes("0123456789");
  EXPECT_EQ(KvSocketSend(pair.client, &data, KV_SEND_ALL, 2, 5), 5u);
  // Blocking receive on the other direction: a block size smaller than what waits.
  unsigned int n = 0;
  for (int i = 0; i < 500 && n == 0; ++i) {
    n = KvSocketReceive(pair.accepted, &block, 3, 0);
    if (n == 0) std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  ASSERT_EQ(n, 3u);
  EXPECT_EQ(std::string((const char*)block.data, block.Size()), "234");
  EXPECT_EQ(KvSocketReceive(pair.accepted, &block, 0, 0), 2u);
  EXPECT_EQ(std::string((const char*)block.data, block.Size()), "56");
}

TEST(EngineSockets, EndOfStreamIsRemembered) {
  Pair pair;
  KV_ARRAY<unsigned char> data = Bytes("last words");
  EXPECT_EQ(KvSocketSend(pair.client, &data, KV_SEND_ALL, 0, 0), 10u);
  KvSocketDestroy(pair.client);
  // Waiting receive: the data first, then 0 for the closed stream.
  KV_ARRAY<unsigned char> block;
  EXPECT_EQ(KvSocketReceive(pair.accepted, &block, 0, 0), 10u);
  EXPECT_EQ(KvSocketReceive(pair.accepted, &block, 0, 0), 0u);
  EXPECT_EQ(block.Size(), 10u);
  EXPECT_EQ(KvSocketIsConnected(pair.accepted), 0);
}

TEST(EngineSockets, ReceiveIntoFillsTheCallersMemory) {
  Pair pair;
  KV_ARRAY<unsigned char> data = Bytes("0123456789");
  EXPECT_EQ(KvSocketSend(pair.client, &data, KV_SEND_ALL, 0, 0), 10u);
  unsigned char into[16] = {};
  EXPECT_EQ(KvSocketReceiveInto(pair.accepted, into, 0), 0u);
  EXPECT_EQ(KvSocketReceiveInto(pair.accepted, nullptr, 4), 0u);
  // Waiting receive: at most the size asked for, then the rest.
  EXPECT_EQ(KvSocketReceiveInto(pair.accepted, into, 4), 4u);
  EXPECT_EQ(std::string((const char*)into, 4), "0123");
  EXPECT_EQ(KvSocketReceiveInto(pair.accepted, into, sizeof into), 6u);
  EXPECT_EQ(std::string((const char*)into, 6), "456789");
  // In async mode it returns at once when nothing waits, and the connection stays open.
  EXPECT_EQ(KvSocketAsync(pair.accepted, 1), 1);
  EXPECT_EQ(KvSocketReceiveInto(pair.accepted, into, sizeof into), 0u);
  EXPECT_EQ(KvSocketIsConnected(pair.accepted), 1);
  EXPECT_EQ(KvSocketFailed(pair.accepted), 0);
}

TEST(EngineSockets, AResetIsToldApartFromAnOrderlyClose) {
  unsigned char into[16];
  {
    Pair pair;
    KvSocketDestroy(pair.client);
    EXPECT_EQ(KvSocketReceiveInto(pair.accepted, into, sizeof into), 0u);
    EXPECT_EQ(KvSocketIsConnected(pair.accepted), 0);
    EXPECT_EQ(KvSocketFailed(pair.accepted), 0);
  }
  {
    // A socket closed with bytes it never read resets the connection.
    Pair pair;
    KV_ARRAY<unsigned char> data = Bytes("unread");
    EXPECT_EQ(KvSocketSend(pair.client, &data, KV_SEND_ALL, 0, 0), 6u);
    // Taking the first byte waits until the bytes have arrived; the other five stay unread.
    unsigned char first = 0;
    EXPECT_EQ(KvSocketReceiveInto(pair.accepted, &first, 1), 1u);
    KvSocketDestroy(pair.accepted);
    EXPECT_EQ(KvSocketReceiveInto(pair.client, into, sizeof into), 0u);
    EXPECT_EQ(KvSocketIsConnected(pair.client), 0);
    EXPECT_EQ(KvSocketFailed(pair.client), 1);
  }
  {
    // The same, seen by a receive into an array.
    Pair pair;
    KV_ARRAY<unsigned char> data = Bytes("unread");
    EXPECT_EQ(KvSocketSend(pair.client, &data, KV_SEND_ALL, 0, 0), 6u);
    KV_ARRAY<unsigned char> block;
    EXPECT_GT(KvSocketReceive(pair.accepted, &block, 1, 0), 0u);
    KvSocketDestroy(pair.accepted);
    EXPECT_EQ(KvSocketReceive(pair.client, &block, 0, 0), 0u);
    EXPECT_EQ(KvSocketIsConnected(pair.client), 0);
    EXPECT_EQ(KvSocketFailed(pair.client), 1);
  }
  KV_HANDLE unknown;
  EXPECT_EQ(KvSocketFailed(unknown), 0);
}

TEST(EngineSockets, PeerGoneIsSeenWithoutReceiving) {
  Pair pair;
  EXPECT_EQ(KvSocketIsConnected(pair.accepted), 1);
  KvSocketDestroy(pair.client);
  int connected = 1;
  for (int i = 0; i < 500 && connected; ++i) {
    connected = KvSocketIsConnected(pair.accepted);
    if (connected) std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  EXPECT_EQ(connected, 0);
}

TEST(EngineSockets, AnEmptyReceiveAnswersOnlyTheNextTest) {
  // Whichever receive found nothing waiting, the test after it takes that finding, but a peer
  // that goes afterwards is still seen by the tests that follow, without receiving.
  for (bool into : {false, true}) {
    Pair pair;
    EXPECT_EQ(KvSocketAsync(pair.accepted, 1), 1);
    KV_ARRAY<unsigned char> block;
    unsigned char bytes[16];
    if (into)
      EXPECT_EQ(KvSocketReceiveInto(pair.accepted, bytes, sizeof bytes), 0u);
    else
      EXPECT_EQ(KvSocketReceive(pair.accepted, &block, 0, 0), 0u);
    KvSocketDestroy(pair.client);
    int connected = 1;
    for (int i = 0; i < 500 && connected; ++i) {
      connected = KvSocketIsConnected(pair.accepted);
      if (connected) std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    EXPECT_EQ(connected, 0);
    EXPECT_EQ(KvSocketFailed(pair.accepted), 0);
  }
}

// A plain POSIX client connected to an engine listener, and the engine's accepted connection, in
// async mode: the test ends the connection from the client's side in ways the engine cannot.
struct RawPeer {
  KV_HANDLE listener = Created(), accepted = Created();
  int fd = -1;
  RawPeer() {
    EXPECT_EQ(KvSocketOpen(listener, KV_SOCKET_TCP_IPV4), 1);
    unsigned short port =
        ListenOnAFreePort([this](unsigned short p) { return KvSocketListen(listener, p, 4) == 1; });
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(port);
    fd = socket(AF_INET, SOCK_STREAM, 0);
    EXPECT_EQ(connect(fd, (sockaddr*)&address, sizeof address), 0);
    EXPECT_EQ(KvSocketAccept(accepted, listener), 1);
    EXPECT_EQ(KvSocketAsync(accepted, 1), 1);
  }
  ~RawPeer() {
    if (fd >= 0) close(fd);
    KvSocketDestroy(listener);
    KvSocketDestroy(accepted);
  }
  // One poll as the framework makes it: a receive, then the test for a peer that has gone.
  int Poll(unsigned int* received) {
    KV_ARRAY<unsigned char> block;
    *received = KvSocketReceive(accepted, &block, 0, 0);
    return KvSocketIsConnected(accepted);
  }
};

TEST(EngineSockets, PollsSeeTheEndOfAConnection) {
  // A half-close, a close and a reset of the peer alike: the polls after it see the connection
  // gone, in a poll whose receive found nothing, and tell an error from an orderly end.
  enum class End { HalfClose, Close, Reset };
  for (End end : {End::HalfClose, End::Close, End::Reset}) {
    RawPeer peer;
    unsigned int received = 1;
    EXPECT_EQ(peer.Poll(&received), 1);
    EXPECT_EQ(received, 0u);
    if (end == End::HalfClose) {
      shutdown(peer.fd, SHUT_WR);
    } else {
      // Lingering for no time makes the close send a reset instead of the orderly end.
      linger abort{1, 0};
      if (end == End::Reset) setsockopt(peer.fd, SOL_SOCKET, SO_LINGER, &abort, sizeof abort);
      close(peer.fd);
      peer.fd = -1;
    }
    int connected = 1;
    for (int i = 0; i < 1000 && connected; ++i) {
      connected = peer.Poll(&received);
      EXPECT_EQ(received, 0u);
      if (connected) std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    EXPECT_EQ(connected, 0);
    EXPECT_EQ(KvSocketFailed(peer.accepted), end == End::Reset ? 1 : 0);
  }
}

TEST(EngineSockets, AsyncReceiveTakesWhatWaitsUpToTheBlockThenSeesTheEnd) {
  Pair pair;
  EXPECT_EQ(KvSocketAsync(pair.accepted, 1), 1);
  // More than one default block (64 KiB) waits, then the end of the stream.
  KV_ARRAY<unsigned char> data(100 * 1024);
  for (unsigned int i = 0; i < data.Size(); ++i) data.data[i] = (unsigned char)(i % 251);
  EXPECT_EQ(KvSocketSend(pair.client, &data, KV_SEND_ALL, 0, 0), data.Size());
  KvSocketDestroy(pair.client);
  std::string received;
  KV_ARRAY<unsigned char> block;
  for (int i = 0; i < 500 && KvSocketIsConnected(pair.accepted); ++i) {
    unsigned int n = KvSocketReceive(pair.accepted, &block, 0, 0);
    EXPECT_LE(n, 64u * 1024);
    if (n > 0) {
      EXPECT_EQ(block.Size(), n);
      received.append((const char*)block.data, n);
    } else {
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
  }
  EXPECT_EQ(KvSocketIsConnected(pair.accepted), 0);
  EXPECT_EQ(KvSocketFailed(pair.accepted), 0);
  EXPECT_EQ(received, std::string((const char*)data.data, data.Size()));
}

// A text of n bytes that differs along its length, so that bytes out of place show.
std::string Pattern(size_t n) {
  std::string text(n, '\0');
  for (size_t i = 0; i < n; ++i) text[i] = (char)(i * 7 % 251);
  return text;
}

void SendWhole(int fd, const std::string& text) {
  for (size_t sent = 0; sent < text.size();) {
    ssize_t n = send(fd, text.data() + sent, text.size() - sent, MSG_NOSIGNAL);
    ASSERT_GT(n, 0);
    sent += (size_t)n;
  }
}

TEST(EngineSockets, AWaitingReceiveIntoALargeBlockReturnsWhatHasCome) {
  // One receive may take what has come in several system receives, but it waits only for the
  // first bytes: it returns without the block filling. Should it wait for more, the peer goes
  // after two seconds, which ends the wait, and the test sees that it had to.
  for (size_t n : {(size_t)1, (size_t)16 * 1024, (size_t)32 * 1024, (size_t)40 * 1024 + 7}) {
    RawPeer peer;
    EXPECT_EQ(KvSocketAsync(peer.accepted, 0), 1);
    std::string data = Pattern(n);
    SendWhole(peer.fd, data);
    std::promise<void> done;
    std::atomic<bool> peerWent{false};
    std::thread watchdog([&, finished = done.get_future()] {
      if (finished.wait_for(std::chrono::seconds(2)) == std::future_status::ready) return;
      peerWent = true;
      shutdown(peer.fd, SHUT_WR);
    });
    std::vector<unsigned char> block(1024 * 1024);
    std::string received;
    while (received.size() < n) {
      unsigned int got = KvSocketReceiveInto(peer.accepted, block.data(), (unsigned)block.size());
      if (got == 0) break;
      received.append((const char*)block.data(), got);
    }
    done.set_value();
    watchdog.join();
    EXPECT_FALSE(peerWent) << n << " bytes";
    EXPECT_EQ(received, data) << n << " bytes";
    EXPECT_EQ(KvSocketIsConnected(peer.accepted), 1);
  }
}

TEST(EngineSockets, BytesBeforeAnEndOrResetAllComeAndTheEndIsTold) {
  // The end comes right after whole system receives' worth of bytes, so that a receive that takes
  // them in pieces meets it in a later piece: the bytes are still returned, and the end is told
  // as an orderly close or a failure as it was, in either receive mode.
  for (bool async : {false, true}) {
    for (bool reset : {false, true}) {
      RawPeer peer;
      EXPECT_EQ(KvSocketAsync(peer.accepted, async ? 1 : 0), 1);
      std::string data = Pattern(48 * 1024);
      SendWhole(peer.fd, data);
      // Lingering for no time makes the close send a reset instead of the orderly end.
      linger abort{1, 0};
      if (reset) setsockopt(peer.fd, SOL_SOCKET, SO_LINGER, &abort, sizeof abort);
      // The bytes are on their way before the reset, which would drop any still unsent.
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
      close(peer.fd);
      peer.fd = -1;
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
      std::vector<unsigned char> block(1024 * 1024);
      std::string received;
      for (int i = 0; i < 500 && KvSocketIsConnected(peer.accepted); ++i) {
        unsigned int got = KvSocketReceiveInto(peer.accepted, block.data(), (unsigned)block.size());
        received.append((const char*)block.data(), got);
        if (got == 0) std::this_thread::sleep_for(std::chrono::milliseconds(2));
      }
      EXPECT_EQ(received, data) << (async ? "async" : "waiting")
                                << (reset ? ", reset" : ", closed");
      EXPECT_EQ(KvSocketIsConnected(peer.accepted), 0);
      EXPECT_EQ(KvSocketFailed(peer.accepted), reset ? 1 : 0)
          << (async ? "async" : "waiting") << (reset ? ", reset" : ", closed");
    }
  }
}

TEST(EngineSockets, SendingToAPeerThatHasGoneFailsWithoutASignal) {
  Pair pair;
  KvSocketDestroy(pair.accepted);
  KV_ARRAY<unsigned char> data(64 * 1024);
  unsigned int sent = 1;
  // The first send may still be taken by the system; a later one meets the reset.
  for (int i = 0; i < 200 && sent != 0; ++i) {
    sent = KvSocketSend(pair.client, &data, KV_SEND_ALL, 0, 0);
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  EXPECT_EQ(sent, 0u);
  EXPECT_EQ(KvSocketIsConnected(pair.client), 0);
}

TEST(EngineSockets, ClosureDestroysEverySocket) {
  KV_HANDLE a = Created();
  EXPECT_EQ(KvSocketOpen(a, KV_SOCKET_TCP_IPV4), 1);
  EXPECT_EQ(KvSocketClosure(), 1);
  EXPECT_EQ(KvSocketAsync(a, 1), 0);  // gone
  EXPECT_EQ(KvSocketInitiation(), 1);
}

}  // namespace
