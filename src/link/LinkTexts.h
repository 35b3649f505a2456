// The radio link's own texts, exactly as the protocol reports them to its
// user (tavin-cli prints them so). The window shows them in the user's
// language: they are marked for the translations under the context
// kContext, and DialogTransferUi looks them up there.
#pragma once

#include <QtGlobal>

namespace tavin::link::text {

inline constexpr char kContext[] = "RadioLink";

inline constexpr const char *kPortOpenFailed =
    QT_TRANSLATE_NOOP("RadioLink", "无法打开串口,请检查串口是否被占用或设备是否正常。");
inline constexpr const char *kCheckingPort = QT_TRANSLATE_NOOP("RadioLink", "正在检测通讯串口,请稍候...");
inline constexpr const char *kWaitingForRadio = QT_TRANSLATE_NOOP("RadioLink", "等待对讲机响应....");
inline constexpr const char *kSendStatusError = QT_TRANSLATE_NOOP("RadioLink", " 发送状态出错。");
inline constexpr const char *kCommunicationError =
    QT_TRANSLATE_NOOP("RadioLink", "通讯错误，请检查连接是否正常,对讲机电源是否打开。");
inline constexpr const char *kWriteInterrupted = QT_TRANSLATE_NOOP("RadioLink", " 程序中断，请请重启对讲机并重试。");
inline constexpr const char *kNotEnoughBytes = QT_TRANSLATE_NOOP("RadioLink", "没有收到足够的字节。");
inline constexpr const char *kReadAckFailed = QT_TRANSLATE_NOOP("RadioLink", "发生错误，请重试。");

}  // namespace tavin::link::text
