// The engine's socket functions on their own: null handles, waiting and non-waiting receive and
// accept, end-of-connection tracking and sends to a peer that has gone.
#include "engine/kv_engine.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>

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
