#pragma once
// What a send shows: the remaining-data line of the transfer panel and the
// status and message texts.

#include <cstdint>
#include <string>

namespace kestrovan::serial {

inline constexpr const char* kSendWaiting = "送信待機中（信号待ち)";      // set by the caller before the job
inline constexpr const char* kSendWaitingSignal = "送信待機中(信号待ち)"; // while the job waits for the NC
inline constexpr const char* kSending = "＜＜ 送信中 ＞＞";
inline constexpr const char* kSendCompleted = "送信完了しました。";
inline constexpr const char* kSendStopped = "送信中止しました。";
// After the completion message, the marked files that had nothing to send.
inline constexpr const char* kSendSkipped = "送信できなかったファイル: ";
inline constexpr const char* kSendNamePrefix = "送信名 ";
inline constexpr const char* kNcReadyQuestion =
    "ＮＣ装置側の準備を行ってください。\n準備が出来ましたら「はい(Y)」を\n押すと送信が開始します。";

// 1234567 -> "1,234,567ﾊﾞｲﾄ"; negative counts show as 0.
std::string byteCountText(std::int64_t bytes);

// "残り " and the byte count: the panel's line before a file starts and at
// its end.
std::string remainingBytesLine(std::int64_t bytes);

// The line rewritten after each line sent: total - sent + 1 bytes left, and
// the estimate in hours and minutes, minutes and seconds, or seconds.
// remainingDataLine(2047, 1024, 125) == "残り 1,024ﾊﾞｲﾄ(約 2分05秒)".
std::string remainingDataLine(std::int64_t total, std::int64_t sent, std::int64_t seconds);

} // namespace kestrovan::serial
