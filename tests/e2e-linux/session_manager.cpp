// A session manager (XSMP over ICE) for the end-to-end tests. It prints
// "SESSION_MANAGER=<address>" for the client to be started with, then one
// line per thing the client does: "registered", "restart-hint N", "saved 1"
// (or 0), "closed". Lines on standard input ask the client to save:
// "checkpoint" as a session's "save session" does, "end" as at log-out
// (save, then die). Ends at the end of its input.
#include <X11/ICE/ICElib.h>
#include <X11/SM/SMlib.h>

#include <poll.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

SmsConn client = nullptr;
bool ending = false;

void Say(const std::string& line) {
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
}

Bool AnyHost(char* /*host*/) {
    return True;
}

Status RegisterClient(SmsConn conn, SmPointer, char* previousId) {
    // Kept: libSM holds on to the identifier.
    SmsRegisterClientReply(conn, SmsGenerateClientID(conn));
    std::free(previousId);
    Say("registered");
    return 1;
}

void InteractRequest(SmsConn conn, SmPointer, int) {
    SmsInteract(conn);
}

void InteractDone(SmsConn, SmPointer, Bool) {}

void SaveYourselfRequest(SmsConn, SmPointer, int, Bool, int, Bool, Bool) {}

void SaveYourselfPhase2Request(SmsConn conn, SmPointer) {
    SmsSaveYourselfPhase2(conn);
}

void SaveYourselfDone(SmsConn conn, SmPointer, Bool success) {
    Say(success ? "saved 1" : "saved 0");
    if (ending)
        SmsDie(conn);
    else
        SmsSaveComplete(conn);
}

void CloseConnection(SmsConn conn, SmPointer, int count, char** reasons) {
    Say("closed");
    SmFreeReasons(count, reasons);
    IceConn ice = SmsGetIceConnection(conn);
    SmsCleanUp(conn);
    IceSetShutdownNegotiation(ice, False);
    IceCloseConnection(ice);
    client = nullptr;
}

void SetProperties(SmsConn, SmPointer, int count, SmProp** properties) {
    for (int i = 0; i < count; ++i) {
        const SmProp* p = properties[i];
        if (std::strcmp(p->name, SmRestartStyleHint) == 0 && p->num_vals == 1 &&
            p->vals[0].length >= 1)
            Say("restart-hint " + std::to_string(*static_cast<unsigned char*>(p->vals[0].value)));
        SmFreeProperty(properties[i]);
    }
    std::free(properties);
}

void DeleteProperties(SmsConn, SmPointer, int count, char** names) {
    for (int i = 0; i < count; ++i)
        std::free(names[i]);
    std::free(names);
}

void GetProperties(SmsConn conn, SmPointer) {
    SmsReturnProperties(conn, 0, nullptr);
}

Status NewClient(SmsConn conn, SmPointer, unsigned long* mask, SmsCallbacks* callbacks,
                 char** /*failureReason*/) {
    client = conn;
    callbacks->register_client.callback = RegisterClient;
    callbacks->interact_request.callback = InteractRequest;
    callbacks->interact_done.callback = InteractDone;
    callbacks->save_yourself_request.callback = SaveYourselfRequest;
    callbacks->save_yourself_phase2_request.callback = SaveYourselfPhase2Request;
    callbacks->save_yourself_done.callback = SaveYourselfDone;
    callbacks->close_connection.callback = CloseConnection;
    callbacks->set_properties.callback = SetProperties;
    callbacks->delete_properties.callback = DeleteProperties;
    callbacks->get_properties.callback = GetProperties;
    *mask = SmsRegisterClientProcMask | SmsInteractRequestProcMask | SmsInteractDoneProcMask |
            SmsSaveYourselfRequestProcMask | SmsSaveYourselfP2RequestProcMask |
            SmsSaveYourselfDoneProcMask | SmsCloseConnectionProcMask | SmsSetPropertiesProcMask |
            SmsDeletePropertiesProcMask | SmsGetPropertiesProcMask;
    return 1;
}

void Command(const std::string& line) {
    if (client == nullptr) {
        Say("no client");
        return;
    }
    ending = line == "end";
    if (ending || line == "checkpoint")
        SmsSaveYourself(client, SmSaveBoth, ending ? True : False, SmInteractStyleNone, False);
    else
        Say("unknown command " + line);
}

} // namespace

int main() {
    char error[256] = "";
    int count = 0;
    IceListenObj* listeners = nullptr;
    if (!SmsInitialize("lumatone-tests", "1", NewClient, nullptr, AnyHost, sizeof error, error) ||
        !IceListenForConnections(&count, &listeners, sizeof error, error)) {
        std::fprintf(stderr, "session manager: %s\n", error);
        return 1;
    }
    for (int i = 0; i < count; ++i)
        IceSetHostBasedAuthProc(listeners[i], AnyHost);
    char* address = IceComposeNetworkIdList(count, listeners);
    Say(std::string("SESSION_MANAGER=") + address);
    std::free(address);

    std::vector<IceConn> connections;
    std::string input;
    for (;;) {
        std::vector<pollfd> fds{{STDIN_FILENO, POLLIN, 0}};
        for (int i = 0; i < count; ++i)
            fds.push_back({IceGetListenConnectionNumber(listeners[i]), POLLIN, 0});
        for (IceConn c : connections)
            fds.push_back({IceConnectionNumber(c), POLLIN, 0});
        if (poll(fds.data(), fds.size(), -1) < 0)
            return 1;
        if (fds[0].revents != 0) {
            char bytes[256];
            const ssize_t got = read(STDIN_FILENO, bytes, sizeof bytes);
            if (got <= 0)
                return 0;
            input.append(bytes, static_cast<std::size_t>(got));
            for (std::size_t end; (end = input.find('\n')) != std::string::npos;) {
                Command(input.substr(0, end));
                input.erase(0, end + 1);
            }
        }
        for (int i = 0; i < count; ++i) {
            if (fds[1 + static_cast<std::size_t>(i)].revents == 0)
                continue;
            IceAcceptStatus status;
            if (IceConn c = IceAcceptConnection(listeners[i], &status); c != nullptr)
                connections.push_back(c);
        }
        const std::size_t first = 1 + static_cast<std::size_t>(count);
        std::vector<IceConn> open;
        for (std::size_t i = 0; i < connections.size(); ++i) {
            IceConn c = connections[i];
            if (fds[first + i].revents == 0) {
                open.push_back(c);
                continue;
            }
            // Closed while processing (the client left): freed by libICE.
            const IceProcessMessagesStatus status = IceProcessMessages(c, nullptr, nullptr);
            if (status == IceProcessMessagesSuccess) {
                open.push_back(c);
            } else if (status == IceProcessMessagesIOError) {
                IceSetShutdownNegotiation(c, False);
                IceCloseConnection(c);
            }
        }
        connections.swap(open);
    }
}
