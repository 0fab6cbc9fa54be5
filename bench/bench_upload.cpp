// Sending a batch: building the request of a 10,000-row batch (target under
// 5 ms), and a whole upload of it to a server on this machine, from the
// start of the request to its outcome (target under 50 ms beyond the
// server's own delay, which is 0 here). The upload writes the upload log,
// one line per batch line, as it would for the transcriber.

#include "BenchStats.h"
#include "LoopbackServer.h"

#include "app/ProgramObjects.h"
#include "core/Globals.h"
#include "core/Project.h"
#include "core/ScriptedServices.h"
#include "upload/UploadConversation.h"
#include "upload/UploadRequest.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>

namespace {

constexpr int kRows = 10000;

QTemporaryDir &folder()
{
    static QTemporaryDir dir;
    return dir;
}

QString batchPath()
{
    return QDir(folder().path()).filePath(QStringLiteral("1911B1A0001.ZEL"));
}

void writeBatch()
{
    QByteArray bytes = "+INFO,pelkar@example.org,PASSWORD,SEQUENCED,BIRTHS,\r\n"
                       "#,1,Pelkar,7.4.0\r\n#,2,transcriber,sub1\r\n+S,1911,Sep,,\r\n+PAGE,0001\r\n";
    const char *surnames[] = {"SMITH", "JONES", "ABBOTT", "WILLIAMSON", "BROWN"};
    const char *forenames[] = {"JOHN WILLIAM", "MARY ANN", "ALBERT", "ELIZABETH JANE"};
    for (int i = 0; i < kRows; ++i) {
        bytes += surnames[i % 5];
        bytes += ',';
        bytes += forenames[i % 4];
        bytes += ",HARRIS,LEEDS,9b," + QByteArray::number(100 + i / 50) + "\r\n";
    }
    QFile file(batchPath());
    file.open(QIODevice::WriteOnly);
    file.write(bytes);
}

void BM_BuildRequest10000Rows(benchmark::State &state)
{
    UploadRequest r;
    r.sUser = "sub1";
    r.sPassword = "secret";
    r.sFile = batchPath();
    r.sFileName = "1911B1A0001.ZEL";
    r.sUploadAs = "1911B1A0001";
    r.sDistrictVersion = "41";
    for (auto _ : state) {
        const auto batch = ReadBatchFile(r.sFile);
        RequestLayout layout;
        const QByteArray bytes = BuildUploadRequest(r, &*batch, &layout);
        benchmark::DoNotOptimize(bytes.data());
    }
}
BENCHMARK(BM_BuildRequest10000Rows)->Unit(benchmark::kMillisecond)->Apply(RepeatedMinMedianMax);

void BM_WholeUpload10000Rows(benchmark::State &state)
{
    LoopbackServer server;
    gProject->setSite("127.0.0.1");
    gProject->setPort(server.port());
    const QByteArray reply = LoopbackServer::tagged("<FILEUPLOAD RESULT=OK\n</fileupload>\n");
    for (auto _ : state) {
        server.enqueue(LoopbackServer::reply(reply));
        UploadConversation conversation;
        QEventLoop loop;
        QObject::connect(&conversation, &UploadConversation::Finished, &loop, &QEventLoop::quit);
        conversation.UploadFile();
        loop.exec();
        if (!conversation.outcome().bResult)
            state.SkipWithError("the upload failed");
    }
}
BENCHMARK(BM_WholeUpload10000Rows)->Unit(benchmark::kMillisecond)->Apply(RepeatedMinMedianMax);

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QStandardPaths::setTestModeEnabled(true);
    installScriptedServices();
    ProgramObjects::createEvents();
    ProgramObjects::createProject();
    gProject->setDataPath(folder().path());
    gProject->setFilesPath(folder().path());
    gProject->setSavePath(folder().path());
    gProject->setBatchName("1911B1A0001.ZEL");
    gProject->setSubmitter("sub1");
    gProject->setPassword("secret");
    writeBatch();
    const int code = RunInTurn(argc, argv);
    ProgramObjects::releaseAll();
    return code;
}
