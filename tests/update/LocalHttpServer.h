#pragma once

#include <juce_core/juce_core.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <mutex>
#include <string>

namespace testsupport
{
// A small HTTP server on 127.0.0.1 for the update check's tests. It serves one connection at a time,
// stops by itself after a few connections or a time limit, and can misbehave the ways a real server
// can: answer with any status and body, accept and never answer, trickle a body that never ends, or flood one
// as fast as it can.
class LocalHttpServer final : private juce::Thread
{
public:
    enum class Behaviour
    {
        answer,
        neverAnswer,
        trickleForever,
        floodForever
    };

    struct Reply
    {
        int status = 200;
        std::string body;
        Behaviour behaviour = Behaviour::answer;
    };

    explicit LocalHttpServer(Reply replyToGive, int maximumConnections = 2,
                             std::chrono::milliseconds lifetime = std::chrono::seconds(20))
        : juce::Thread("LocalHttpServer")
        , reply(std::move(replyToGive))
        , connectionsLeft(maximumConnections)
        , deadline(juce::Time::getMillisecondCounter() + static_cast<juce::uint32>(lifetime.count()))
    {
        // Writing to a client that went away must fail, not end the test process.
        std::signal(SIGPIPE, SIG_IGN);
        if (!listener.createListener(0, "127.0.0.1"))
            throw std::runtime_error("cannot listen on 127.0.0.1");
        startThread();
    }

    ~LocalHttpServer() override { stopThread(5000); }

    juce::String baseUrl() const { return "http://127.0.0.1:" + juce::String(listener.getBoundPort()); }

    int connectionsServed() const { return served.load(); }
    // Whether the client closed a connection that the server kept open (never answering, trickling).
    bool clientHungUp() const { return hungUp.load(); }
    std::string firstRequestLine() const
    {
        const std::scoped_lock lock(mutex);
        return requestLine;
    }

    // A port on which nothing listens (it did a moment ago).
    static int closedPort()
    {
        juce::StreamingSocket socket;
        socket.createListener(0, "127.0.0.1");
        const auto port = socket.getBoundPort();
        socket.close();
        return port;
    }

private:
    bool timeIsUp() const { return threadShouldExit() || juce::Time::getMillisecondCounter() > deadline; }

    void run() override
    {
        while (connectionsLeft > 0 && !timeIsUp())
        {
            if (listener.waitUntilReady(true, 20) != 1)
                continue;
            const std::unique_ptr<juce::StreamingSocket> client(listener.waitForNextConnection());
            if (client == nullptr)
                continue;
            --connectionsLeft;
            if (readRequest(*client))
                respond(*client);
            ++served;
        }
    }

    bool readRequest(juce::StreamingSocket& client)
    {
        std::string request;
        char buffer[1024];
        while (request.find("\r\n\r\n") == std::string::npos && request.size() < 65536 && !timeIsUp())
        {
            if (client.waitUntilReady(true, 20) != 1)
                continue;
            const auto got = client.read(buffer, sizeof(buffer), false);
            if (got <= 0)
                return false;
            request.append(buffer, static_cast<std::size_t>(got));
        }
        const std::scoped_lock lock(mutex);
        requestLine = request.substr(0, request.find("\r\n"));
        return true;
    }

    bool write(juce::StreamingSocket& client, const std::string& data)
    {
        std::size_t sent = 0;
        while (sent < data.size() && !timeIsUp())
        {
            const auto count = static_cast<int>(std::min<std::size_t>(data.size() - sent, 16384));
            const auto written = client.write(data.data() + sent, count);
            if (written < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
            {
                // The accepted socket does not block: wait until the client has read some.
                client.waitUntilReady(false, 20);
                continue;
            }
            if (written <= 0)
                return false;
            sent += static_cast<std::size_t>(written);
        }
        return sent == data.size();
    }

    void respond(juce::StreamingSocket& client)
    {
        switch (reply.behaviour)
        {
            case Behaviour::answer:
                write(client, "HTTP/1.1 " + std::to_string(reply.status) +
                                  " Status\r\nContent-Type: application/json\r\nContent-Length: " +
                                  std::to_string(reply.body.size()) + "\r\nConnection: close\r\n\r\n" +
                                  reply.body);
                break;

            case Behaviour::neverAnswer:
                while (!timeIsUp())
                {
                    char byte;
                    if (client.waitUntilReady(true, 20) == 1 && client.read(&byte, 1, false) <= 0)
                    {
                        hungUp = true;
                        break;
                    }
                }
                break;

            case Behaviour::trickleForever:
                if (!write(client,
                           "HTTP/1.1 200 OK\r\nContent-Type: application/json\r\nConnection: close\r\n\r\n"))
                    break;
                while (!timeIsUp())
                {
                    if (!write(client, std::string(64, ' ')))
                    {
                        hungUp = !timeIsUp();
                        break;
                    }
                    juce::Thread::sleep(20);
                }
                break;

            case Behaviour::floodForever:
                if (!write(client,
                           "HTTP/1.1 200 OK\r\nContent-Type: application/json\r\nConnection: close\r\n\r\n"))
                    break;
                while (!timeIsUp())
                {
                    if (!write(client, std::string(16 * 1024, ' ')))
                    {
                        hungUp = !timeIsUp();
                        break;
                    }
                }
                break;
        }
    }

    const Reply reply;
    int connectionsLeft;
    const juce::uint32 deadline;
    juce::StreamingSocket listener;
    std::atomic<int> served{0};
    std::atomic<bool> hungUp{false};
    mutable std::mutex mutex;
    std::string requestLine;
};
} // namespace testsupport
