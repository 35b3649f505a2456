#include "ToolCommands.h"

#include "CProgramDoc.h"
#include "CProgramView.h"
#include "CellEditors.h"
#include "ChannelFile.h"
#include "ChannelListExport.h"
#include "ChannelListImport.h"
#include "Doctor.h"
#include "ImageComparison.h"
#include "ListFile.h"
#include "NativePath.h"
#include "SafeReplace.h"
#include "SystemDoctor.h"
#include "ToolPrompts.h"
#include "TransferController.h"

#include <QEventLoop>
#include <QProgressDialog>
#include <QThread>
#include <QTimer>

#include <filesystem>

namespace {

// A line of the shared code as tavin-cli prints it: bytes that are not UTF-8
// and control characters as \xNN, so that one line stays one line.
QString reportLine(const std::string &line)
{
    return tavin::platform::shown(QString::fromStdString(line));
}

QStringList qtLines(const std::vector<std::string> &lines)
{
    QStringList out;
    for (const std::string &line : lines)
        out << reportLine(line);
    return out;
}

QStringList differenceLines(const std::vector<tavin::Difference> &differences)
{
    QStringList out;
    for (const tavin::Difference &difference : differences)
        out << reportLine(difference.line);
    return out;
}

bool sameFile(const QString &a, const QString &b)
{
    std::error_code ec;
    return std::filesystem::equivalent(tavin::platform::toNative(a), tavin::platform::toNative(b), ec) && !ec;
}

}  // namespace

ToolCommands::ToolCommands(CProgramDoc &doc, CProgramView &view, const tavin::ToneTable &tones, QWidget *window,
                           QObject *parent)
    : QObject(parent), m_doc(doc), m_view(view), m_tones(tones), m_window(window),
      m_prompts(std::make_unique<DialogToolPrompts>(window))
{
    // The report waits until the transfer has wound down and its window is gone.
    connect(view.transferController(), &TransferController::radioChecked, this,
            [this](const tavin::RadioImage &radio) {
                QTimer::singleShot(0, this, [this, radio] { reportRadioCheck(radio); });
            });
}

ToolCommands::~ToolCommands() = default;

void ToolCommands::setPrompts(std::unique_ptr<ToolPrompts> prompts)
{
    m_prompts = std::move(prompts);
}

QString ToolCommands::shownName(const QString &path)
{
    return tavin::platform::fileNameOf(path);
}

void ToolCommands::onImportList()
{
    if (m_view.isTransferRunning())
        return;
    const QString path = m_prompts->importFileName();
    if (!path.isEmpty())
        importList(path);
}

bool ToolCommands::importList(const QString &path)
{
    if (m_view.isTransferRunning())
        return false;
    const QString name = shownName(path);
    QByteArray bytes;
    const tavin::FileResult read = tavin::lists::readListFile(tavin::platform::toNative(path), &bytes);
    if (!read) {
        m_prompts->showReport({ToolReport::Kind::Warning, tr("导入信道表"), tr("无法打开文件。"),
                               {QString::fromStdString(read.error)}});
        return false;
    }

    // As tavin-cli import --base with the form as the base: the radio-wide
    // settings stay the form's unless the list brings its own.
    const tavin::RadioImage base = m_view.imageAsSaved();
    const tavin::lists::ImportOutcome outcome = tavin::lists::importChannelList(bytes, base, {}, m_tones);
    QStringList lines = qtLines(outcome.notices);
    if (outcome.refused()) {
        // The notices first, as tavin-cli prints them: they say what the errors rest on.
        for (const tavin::lists::ListProblem &problem : outcome.problems)
            lines << reportLine(tavin::lists::problemLine(tavin::platform::shown(name).toStdString(), problem));
        m_prompts->showReport({ToolReport::Kind::Warning, tr("导入信道表"),
                               tr("无法导入信道表 %1：共 %n 处错误，窗体未作改动。", nullptr,
                                  int(outcome.problems.size()))
                                   .arg(tavin::platform::toQtPath(name)),
                               lines});
        return false;
    }

    m_doc.image() = outcome.image;
    m_view.cellEditors()->hideAll();
    m_view.DecodeImage();
    m_doc.setModified(true);
    m_prompts->showDone(tr("已导入信道表 %1").arg(tavin::platform::toQtPath(name)));
    if (!lines.isEmpty())
        m_prompts->showReport({ToolReport::Kind::Information, tr("导入信道表"),
                               tr("已导入信道表 %1。请注意：").arg(tavin::platform::toQtPath(name)), lines});
    return true;
}

void ToolCommands::onExportList()
{
    if (m_view.isTransferRunning())
        return;
    QString suggested = m_doc.pathName();
    if (suggested.isEmpty()) {
        suggested = CProgramDoc::untitledName() + QStringLiteral(".csv");
    } else {
        const QString fileName = tavin::platform::fileNameOf(suggested);
        const qsizetype dot = fileName.lastIndexOf(u'.');
        if (dot > 0)
            suggested.chop(fileName.size() - dot);
        suggested += QStringLiteral(".csv");
    }
    const ToolPrompts::ExportTarget target = m_prompts->exportTarget(suggested);
    if (!target.path.isEmpty())
        exportList(target.path, target.format);
}

bool ToolCommands::exportList(const QString &path, tavin::lists::ListFormat format)
{
    if (!m_doc.pathName().isEmpty() && sameFile(path, m_doc.pathName())) {
        m_prompts->showReport({ToolReport::Kind::Warning, tr("导出信道表"),
                               tr("%1 是窗体的信道文件本身，请另选一个文件名。")
                                   .arg(tavin::platform::toQtPath(shownName(path))),
                               {}});
        return false;
    }
    const tavin::lists::ExportOutcome exported = tavin::lists::exportChannelImage(format, m_view.imageAsSaved());
    const std::string_view bytes(exported.bytes.constData(), std::size_t(exported.bytes.size()));
    const tavin::FileResult stored =
        tavin::replaceFileContents(tavin::platform::toNative(path), bytes, "channel list");
    if (!stored) {
        m_prompts->showReport({ToolReport::Kind::Warning, tr("导出信道表"), tr("无法保存文件。"),
                               {QString::fromStdString(stored.error)}});
        return false;
    }
    m_prompts->showDone(tr("已导出信道表 %1").arg(tavin::platform::toQtPath(shownName(path))));
    if (!exported.notices.empty())
        m_prompts->showReport({ToolReport::Kind::Information, tr("导出信道表"),
                               tr("已导出信道表 %1。此格式不能容纳以下内容：")
                                   .arg(tavin::platform::toQtPath(shownName(path))),
                               qtLines(exported.notices)});
    return true;
}

void ToolCommands::onCompareFile()
{
    if (m_view.isTransferRunning())
        return;
    const QString path = m_prompts->compareFileName();
    if (!path.isEmpty())
        compareWithFile(path);
}

void ToolCommands::compareWithFile(const QString &path)
{
    const QString title = tr("与文件比较");
    const QString name = shownName(path);
    const QString shown = tavin::platform::toQtPath(name);
    tavin::RadioImage file;
    std::size_t bytesRead = 0;
    const tavin::FileResult loaded =
        tavin::loadChannelFile(tavin::platform::toNative(path), file, tavin::HiddenPreset::Uhf, &bytesRead);
    if (!loaded) {
        m_prompts->showReport({ToolReport::Kind::Warning, title, tr("无法打开文件。"),
                               {QString::fromStdString(loaded.error)}});
        return;
    }
    if (bytesRead == 0) {
        m_prompts->showReport({ToolReport::Kind::Warning, title,
                               tr("%1 是空文件；信道文件应有 %2 字节。").arg(shown).arg(tavin::kImageSize), {}});
        return;
    }

    // Named as tavin-cli diff names them, the form standing for the first file.
    const tavin::ComparisonNames names{tr("窗体").toStdString(), tavin::platform::shown(name).toStdString()};
    const std::vector<tavin::Difference> differences =
        tavin::compareImages(m_view.imageAsSaved(), file, names, tavin::ComparedBytes::All);
    ToolReport report{ToolReport::Kind::Information, title, {}, differenceLines(differences)};
    if (differences.empty())
        report.summary = tr("窗体与 %1 相同（全部 %2 字节）。").arg(shown).arg(tavin::kImageSize);
    else
        report.summary = tr("窗体与 %1 有 %n 处不同：", nullptr, int(differences.size())).arg(shown);
    if (bytesRead == tavin::kLongerThanImage)
        report.summary += u'\n' + tr("%1 长于 %2 字节，只比较了前 %2 字节。").arg(shown).arg(tavin::kImageSize);
    m_prompts->showReport(report);
}

void ToolCommands::onVerifyRadio()
{
    if (m_view.isTransferRunning())
        return;
    m_view.transferController()->onCheckCommand();
}

void ToolCommands::reportRadioCheck(const tavin::RadioImage &radio)
{
    // As tavin-cli verify: the bytes a write sends, 0x000 to 0x3D7.
    const tavin::ComparisonNames names{tr("窗体").toStdString(), tr("对讲机").toStdString()};
    const std::vector<tavin::Difference> differences =
        tavin::compareImages(m_view.imageAsSaved(), radio, names, tavin::ComparedBytes::Written);
    ToolReport report{ToolReport::Kind::Information, tr("核对对讲机"), {}, differenceLines(differences)};
    if (differences.empty()) {
        report.summary = tr("%1 上的对讲机与窗体一致（写频写入的全部字节，0x000 至 0x3D7）。").arg(m_view.portName());
    } else {
        report.kind = ToolReport::Kind::Warning;
        report.summary =
            tr("%1 上的对讲机与窗体有 %n 处不同：", nullptr, int(differences.size())).arg(m_view.portName());
    }
    m_prompts->showReport(report);
}

void ToolCommands::onCableCheck()
{
    // One check at a time, also when its busy window was closed early.
    if (m_view.isTransferRunning() || m_checkingCable)
        return;
    tavin::doctor::DoctorOptions options;
    options.port = m_view.portName();
    // The fleet window programs radios there: the cable is at work, and the
    // radio's probe would be refused as by another program.
    if (const QString taken = m_view.transferController()->portTakenReason(options.port); !taken.isEmpty()) {
        m_prompts->showReport({ToolReport::Kind::Warning, tr("检查连接"), taken, {}});
        return;
    }
    options.probe = true;
    m_checkingCable = true;
    const tavin::doctor::DoctorReport report = runDoctor(options);
    m_checkingCable = false;
    m_prompts->showCableCheck(report);
}

tavin::doctor::DoctorReport ToolCommands::runDoctor(const tavin::doctor::DoctorOptions &options)
{
    // The checks and a round of probes take a few seconds: they run beside
    // the window, which shows that it is busy and takes no input meanwhile.
    QProgressDialog busy(tr("正在检查 %1 的连接并询问对讲机（最多 15 次探测，不读写数据）……").arg(options.port),
                         QString(), 0, 0, m_window);
    busy.setWindowTitle(tr("检查连接"));
    busy.setWindowModality(Qt::WindowModal);
    busy.setMinimumDuration(0);
    busy.setCancelButton(nullptr);

    tavin::doctor::DoctorReport report;
    QEventLoop loop;
    std::unique_ptr<QThread> thread(QThread::create([&report, options] {
        tavin::doctor::SerialRadioProber prober;
        report = tavin::doctor::runSystemDoctor(options, &prober);
    }));
    connect(thread.get(), &QThread::finished, &loop, &QEventLoop::quit);
    thread->start();
    busy.show();
    loop.exec();
    thread->wait();
    return report;
}
