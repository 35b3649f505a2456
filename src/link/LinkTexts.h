// The radio link's own texts, exactly as the program shows them.
#pragma once

namespace tavin::link::text {

inline constexpr const char *kPortOpenFailed = "无法打开串口,请检查串口是否被占用或设备是否正常。";
inline constexpr const char *kCheckingPort = "正在检测通讯串口,请稍候...";
inline constexpr const char *kWaitingForRadio = "等待对讲机响应....";
inline constexpr const char *kSendStatusError = " 发送状态出错。";
inline constexpr const char *kCommunicationError = "通讯错误，请检查连接是否正常,对讲机电源是否打开。";
inline constexpr const char *kWriteInterrupted = " 程序中断，请请重启对讲机并重试。";
inline constexpr const char *kNotEnoughBytes = "没有收到足够的字节。";
inline constexpr const char *kReadAckFailed = "发生错误，请重试。";

}  // namespace tavin::link::text
