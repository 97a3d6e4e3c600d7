#pragma once
#include <QByteArray>
#include <QHash>
#include <QPointer>
#include <QStringList>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <memory>

// A web server on 127.0.0.1 for tests with the real engine: fixed pages, a page that
// trickles for a long time, redirects; it keeps the request lines and headers it got.
class LocalHttpServer : public QObject {
public:
    struct Page {
        QByteArray body;
        QByteArray contentType = "text/html; charset=utf-8";
        int trickleChunks = 0; // > 0: the body is sent in this many pieces, one every 200 ms
        QByteArray location;   // set: a 302 redirect to it
    };

    LocalHttpServer()
    {
        server_.listen(QHostAddress::LocalHost);
        connect(&server_, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *s = server_.nextPendingConnection())
                serve(s);
        });
    }

    quint16 port() const { return server_.serverPort(); }
    QString url(const QString &path) const
    {
        return QStringLiteral("http://127.0.0.1:%1%2").arg(port()).arg(path);
    }
    void add(const QByteArray &path, Page page) { pages_.insert(path, std::move(page)); }

    QStringList requests;   // "GET /path"
    QList<QByteArray> heads; // the whole head of each request

private:
    void serve(QTcpSocket *s)
    {
        s->setParent(this);
        auto buffer = std::make_shared<QByteArray>();
        connect(s, &QTcpSocket::readyRead, s, [this, s, buffer] {
            buffer->append(s->readAll());
            const qsizetype end = buffer->indexOf("\r\n\r\n");
            if (end < 0)
                return;
            const QByteArray head = buffer->left(end);
            buffer->clear();
            heads << head;
            const QList<QByteArray> first = head.left(head.indexOf("\r\n")).split(' ');
            const QByteArray path = first.value(1);
            requests << QString::fromLatin1(first.value(0) + ' ' + path);
            answer(s, path);
        });
        connect(s, &QTcpSocket::disconnected, s, &QObject::deleteLater);
    }

    void answer(QTcpSocket *s, const QByteArray &path)
    {
        const auto it = pages_.constFind(path.left(path.indexOf('?') < 0 ? path.size() : path.indexOf('?')));
        if (it == pages_.constEnd()) {
            s->write("HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\nConnection: close\r\n\r\n");
            s->disconnectFromHost();
            return;
        }
        const Page &p = *it;
        if (!p.location.isEmpty()) {
            s->write("HTTP/1.1 302 Found\r\nLocation: " + p.location
                     + "\r\nContent-Length: 0\r\nConnection: close\r\n\r\n");
            s->disconnectFromHost();
            return;
        }
        s->write("HTTP/1.1 200 OK\r\nContent-Type: " + p.contentType + "\r\nCache-Control: no-store\r\n"
                 + (p.trickleChunks > 0 ? QByteArray() : "Content-Length: " + QByteArray::number(p.body.size()) + "\r\n")
                 + "Connection: close\r\n\r\n");
        if (p.trickleChunks <= 0) {
            s->write(p.body);
            s->disconnectFromHost();
            return;
        }
        // Sent piece by piece: the page stays loading for chunks x 200 ms.
        const QByteArray body = p.body;
        const int chunks = p.trickleChunks;
        auto sent = std::make_shared<int>(0);
        auto *timer = new QTimer(s);
        timer->setInterval(200);
        const QPointer<QTcpSocket> socket(s);
        connect(timer, &QTimer::timeout, s, [socket, timer, body, chunks, sent] {
            if (!socket)
                return;
            const qsizetype piece = (body.size() + chunks - 1) / chunks;
            socket->write(body.mid(*sent * piece, piece));
            if (++*sent >= chunks) {
                timer->stop();
                socket->disconnectFromHost();
            }
        });
        timer->start();
    }

    QTcpServer server_;
    QHash<QByteArray, Page> pages_;
};
