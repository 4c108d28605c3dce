// The program as a client of a remote solver server: a server of the
// test's own on the loopback address sends a network and its results and
// reads the commands sent back. Every wait is bounded.

#include <map>
#include <string>
#include <vector>

#include <QHostAddress>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

#include "archive.h"
#include "bus.h"
#include "control_id.h"
#include "dlg_host_settings.h"
#include "dlg_messages.h"
#include "drawn_network.h"
#include "message_list.h"
#include "network_view_fixture.h"
#include "power_line.h"
#include "remote_receiver.h"
#include "remote_solver_link.h"
#include "scoped_environment.h"

namespace {

constexpr int kWait = 5000;  // milliseconds, for anything the loopback does

// Knows the test's own names only; no name server is asked.
class TableResolver final : public HostResolver {
public:
    std::optional<QHostAddress> Resolve(const QString& host) override {
        if (host == "solver.test") return QHostAddress(QHostAddress::LocalHost);
        return std::nullopt;
    }
};

// Buses A, B and C in a row, lines A-B and B-C; bus A stands at x 100
// from y 100 to 140.
struct ThreeBusDocument {
    ThreeBusDocument() {
        DrawnNetwork net;
        Bus& a = net.AddBus("A");
        Bus& b = net.AddBus("B");
        Bus& c = net.AddBus("C");
        net.Join<PowerLine>(a, b);
        net.Join<PowerLine>(b, c);
        keys = {a.GetKey(), b.GetKey(), c.GetKey()};
        Archive out = Archive::ForStoring();
        net.model().Serialize(out);
        bytes.assign(out.Bytes().begin(), out.Bytes().end());
    }
    std::vector<int> keys;
    std::string bytes;
};

std::string Header(std::size_t size) {
    std::string header = "<HEADER INFO " + std::to_string(size);
    header.resize(RemoteReceiver::kHeaderSize - 1, ' ');
    return header + '>';
}

class RemoteSolver : public NetworkViewTest {
protected:
    ScopedEnvironment environment;
    TableResolver resolver;
    QTcpServer server;
    QTcpSocket* peer = nullptr;  // the server's end of the connection
    ThreeBusDocument network;

    void SetUp() override {
        environment.Set("TEMP", folder.path().toStdString());
        ASSERT_TRUE(Start());
        app->RemoteLink().SetResolver(&resolver);
        ASSERT_TRUE(server.listen(QHostAddress::LocalHost, 0));
    }

    RemoteSolverLink& Link() { return app->RemoteLink(); }

    // Remote > Connect, the user typing the host and the port.
    void Connect(const QString& host, int port) {
        prompts.dialogScripts.push_back([host, port](QDialog& dialog) {
            EXPECT_EQ(dialog.windowTitle(), "Host Settings");
            FindControl<QLineEdit>(dialog, CDlgHostSettings::kHostFieldId)->setText(host);
            FindControl<QLineEdit>(dialog, CDlgHostSettings::kPortFieldId)->setText(QString::number(port));
            dialog.accept();
        });
        QAction* connect = MenuItem("Remote", "Connect");
        ASSERT_NE(connect, nullptr);
        connect->trigger();
    }

    QAction* MenuItem(const QString& menu, const QString& item) {
        for (QAction* title : Frame().menuBar()->actions()) {
            if (title->text() != menu || title->menu() == nullptr) continue;
            for (QAction* action : title->menu()->actions()) {
                if (action->text() == item) return action;
            }
        }
        return nullptr;
    }

    // Connects to the test's server and takes its end of the connection.
    void ConnectToServer() {
        Connect("solver.test", server.serverPort());
        ASSERT_TRUE(Link().IsOpen());
        ASSERT_TRUE(server.waitForNewConnection(kWait));
        peer = server.nextPendingConnection();
        ASSERT_NE(peer, nullptr);
    }

    // Each piece on the wire and read by the program before the next goes.
    void Send(const std::vector<std::string>& pieces) {
        for (const std::string& piece : pieces) {
            peer->write(piece.data(), static_cast<qint64>(piece.size()));
            ASSERT_TRUE(peer->waitForBytesWritten(kWait));
            QTest::qWait(5);
        }
    }

    // The stream cut at the offsets given.
    static std::vector<std::string> Cut(const std::string& stream, std::vector<std::size_t> at) {
        std::vector<std::string> pieces;
        std::size_t from = 0;
        at.push_back(stream.size());
        for (std::size_t to : at) {
            pieces.push_back(stream.substr(from, to - from));
            from = to;
        }
        return pieces;
    }

    // What the server received, once `count` bytes have come.
    std::string Received(qint64 count) {
        EXPECT_TRUE(QTest::qWaitFor([&] { return peer->bytesAvailable() >= count; }, kWait));
        return peer->readAll().toStdString();
    }
    bool ServerSeesTheEnd() {
        return QTest::qWaitFor([&] { return peer->state() == QAbstractSocket::UnconnectedState; }, kWait);
    }

    double Voltage(CTavrinDoc& document, int key) {
        return document.GetModel()->FindByKey(key)->GetValues()[Bus::kVoltage];
    }
    CChildFrame* WindowOf(CDocument& document) {
        for (CChildFrame* window : Windows()) {
            if (window->View().GetDocument() == &document) return window;
        }
        return nullptr;
    }
    QStringList MessageTexts() const {
        QStringList texts;
        for (const auto& message : prompts.Messages()) texts << message.text;
        return texts;
    }
};

TEST_F(RemoteSolver, TheUserIsToldWhyNoConnectionWasMade) {
    QTcpServer closed;
    ASSERT_TRUE(closed.listen(QHostAddress::LocalHost, 0));
    const int closedPort = closed.serverPort();
    closed.close();
    const struct Case {
        const char* host;
        int port;
        const char* message;
    } cases[] = {
        {"ab", 2503, RemoteSolverLink::kWrongHostName},
        {"nowhere.test", 2503, RemoteSolverLink::kHostNotFound},
        {"solver.test", closedPort, RemoteSolverLink::kCannotConnect},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.host);
        prompts.prompts.clear();
        Connect(c.host, c.port);
        EXPECT_FALSE(Link().IsOpen());
        EXPECT_EQ(MessageTexts(), QStringList{c.message});
    }
    EXPECT_EQ(app->GetProfile().GetProfileString("Remote Host", "Name"), "solver.test");
    EXPECT_EQ(app->GetProfile().GetProfileInt("Remote Host", "Port", 0), closedPort);
}

TEST_F(RemoteSolver, TheServersNetworkOpensAsTheRemoteDocumentAndTakesItsResults) {
    CTavrinView& unrelated = OpenNetwork(false);
    ConnectToServer();
    const std::string stream = Header(network.bytes.size()) + network.bytes +
                               "DATA\nBUSES\n1 A 1.02 0\n2 B 0.98 -2.5\r\n3 C 0.97 -3.125\nEND\n";
    const std::size_t fileEnd = RemoteReceiver::kHeaderSize + network.bytes.size();
    Send(Cut(stream, {7, 100, fileEnd - 3, fileEnd + 15, fileEnd + 18}));

    ASSERT_TRUE(QTest::qWaitFor([&] { return Link().RemoteDocument() != nullptr; }, kWait));
    CTavrinDoc& remote = *Link().RemoteDocument();
    EXPECT_EQ(remote.GetTitle(), ReceivedFile::kFileName);
    EXPECT_TRUE(remote.IsRemote());
    ASSERT_NE(WindowOf(remote), nullptr);
    EXPECT_TRUE(WindowOf(remote)->windowTitle().startsWith(ReceivedFile::kFileName));
    EXPECT_NE(QFileInfo(remote.GetPathName()).path(), folder.path());  // a private folder inside TEMP
    EXPECT_EQ(QFileInfo(QFileInfo(remote.GetPathName()).path()).path(), folder.path());
    // The received file lives only as long as the connection: not offered again.
    for (const QString& recent : app->RecentFiles().Files()) {
        EXPECT_NE(QFileInfo(recent).fileName(), ReceivedFile::kFileName);
    }
    EXPECT_DOUBLE_EQ(Voltage(remote, network.keys[0]), 1.02);
    EXPECT_DOUBLE_EQ(Voltage(remote, network.keys[1]), 0.98);
    EXPECT_DOUBLE_EQ(Voltage(remote, network.keys[2]), 0.97);
    EXPECT_TRUE(prompts.Messages().empty());

    auto& view = dynamic_cast<CTavrinView&>(WindowOf(remote)->View());
    Frame().Commands().UpdateAll();
    for (int command : {Command::FileNew, Command::FileOpen, Command::ToolBusVertical, Command::ToolsPalette}) {
        EXPECT_FALSE(Frame().Commands().Find(command)->isEnabled()) << command;
    }

    // Switching bus A off sends its command.
    Play(view, {{Input::Press, QPoint(100, 120)}, {Input::Release, QPoint(100, 120)}});
    view.Execute(CTavrinView::kSwitchOnOff);
    EXPECT_EQ(Received(13), "OFF BUS BUS=A");
    // Solve asks the server, in exactly five bytes.
    Frame().Commands().Execute(Command::SolvePowerFlow);
    EXPECT_EQ(Received(5), "SOLVE");

    // Only the remote document's last window ends the connection.
    WindowOf(*unrelated.GetDocument())->CloseWithoutAsking();
    SettleDeletions();
    EXPECT_TRUE(Link().IsOpen());
    Frame().MdiArea().setActiveSubWindow(WindowOf(remote));
    Frame().Commands().Execute(Command::WindowNew);
    ASSERT_EQ(remote.Views().size(), 2u);
    Windows().back()->CloseWithoutAsking();
    SettleDeletions();
    EXPECT_TRUE(Link().IsOpen());
    EXPECT_EQ(Link().RemoteDocument(), &remote);
    WindowOf(remote)->CloseWithoutAsking();
    SettleDeletions();
    EXPECT_FALSE(Link().IsOpen());
    EXPECT_EQ(Link().RemoteDocument(), nullptr);
    EXPECT_TRUE(ServerSeesTheEnd());
}

TEST_F(RemoteSolver, TheServerClosingIsShownAndEndsTheConnection) {
    ConnectToServer();
    // The last line is not ended when the server closes.
    Send({Header(network.bytes.size()) + network.bytes + "DATA\nBUSES\n3 C 0.5 0"});
    ASSERT_TRUE(QTest::qWaitFor([&] { return Link().RemoteDocument() != nullptr; }, kWait));
    CTavrinDoc& remote = *Link().RemoteDocument();
    peer->disconnectFromHost();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !Link().IsOpen(); }, kWait));
    EXPECT_EQ(MessageTexts(), QStringList{RemoteReceiver::kServerClosed});
    EXPECT_DOUBLE_EQ(Voltage(remote, network.keys[2]), 0.5);
    // The document stays, remote; Solve sends nothing, solves nothing here
    // and says nothing.
    EXPECT_TRUE(remote.IsRemote());
    ASSERT_EQ(Frame().GetActiveView()->GetDocument(), &remote);
    const int messageRows = Frame().Messages().Messages().Count();
    Frame().Commands().Execute(Command::SolvePowerFlow);
    EXPECT_FALSE(remote.IsModified());
    EXPECT_EQ(Frame().Messages().Messages().Count(), messageRows);
    EXPECT_EQ(MessageTexts(), QStringList{RemoteReceiver::kServerClosed});
}

TEST_F(RemoteSolver, ANetworkThatCannotBeReadEndsTheConnection) {
    ConnectToServer();
    Send({Header(10) + "not a .pf!"});
    ASSERT_TRUE(QTest::qWaitFor([&] { return !Link().IsOpen(); }, kWait));
    ASSERT_EQ(prompts.Messages().size(), 1u);
    EXPECT_TRUE(prompts.Messages()[0].text.startsWith("Failed to open document.")) << MessageTexts().join('|').toStdString();
    EXPECT_EQ(Link().RemoteDocument(), nullptr);
    EXPECT_TRUE(Windows().empty());
    EXPECT_TRUE(ServerSeesTheEnd());
}

// A message box runs an event loop of its own, in which the server may go
// or the user may close the remote document; neither may pull the socket
// or the model from under the code that showed the message.
TEST_F(RemoteSolver, TheConnectionMayEndWhileAMessageAboutItIsShown) {
    ConnectToServer();
    prompts.whileMessageShown = [this] {
        prompts.whileMessageShown = nullptr;
        peer->disconnectFromHost();
        QTest::qWait(50);
        SettleDeletions();
    };
    Send({"<HEADER INFX 5              >"});
    ASSERT_TRUE(QTest::qWaitFor([&] { return !Link().IsOpen(); }, kWait));
    EXPECT_EQ(MessageTexts(), (QStringList{RemoteReceiver::kWrongHeader, RemoteReceiver::kServerClosed}));

    // A socket error is shown, and while it is the server goes: the socket
    // outlives the handler that showed the message.
    prompts.prompts.clear();
    ConnectToServer();
    prompts.whileMessageShown = [this] {
        prompts.whileMessageShown = nullptr;
        peer->disconnectFromHost();
        EXPECT_TRUE(QTest::qWaitFor([&] { return !Link().IsOpen(); }, kWait));
        SettleDeletions();
    };
    QTcpSocket* socket = Link().findChild<QTcpSocket*>();
    ASSERT_NE(socket, nullptr);
    emit socket->errorOccurred(QAbstractSocket::NetworkError);
    EXPECT_FALSE(Link().IsOpen());
    SettleDeletions();
    EXPECT_EQ(MessageTexts(), (QStringList{RemoteSolverLink::kSocketProblem, RemoteReceiver::kServerClosed}));

    // A new connection starts from the header again.
    prompts.prompts.clear();
    ConnectToServer();
    Send({Header(network.bytes.size()) + network.bytes});
    ASSERT_TRUE(QTest::qWaitFor([&] { return Link().RemoteDocument() != nullptr; }, kWait));
    CTavrinDoc& remote = *Link().RemoteDocument();
    // The user closes the remote document while the server's going is shown.
    prompts.whileMessageShown = [&] {
        prompts.whileMessageShown = nullptr;
        WindowOf(remote)->CloseWithoutAsking();
        SettleDeletions();
    };
    peer->disconnectFromHost();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !Link().IsOpen(); }, kWait));
    SettleDeletions();
    EXPECT_EQ(MessageTexts(), QStringList{RemoteReceiver::kServerClosed});
    EXPECT_TRUE(Windows().empty());
}

}  // namespace
