<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="zh_CN">
<context>
    <name>Application</name>
    <message>
        <source>Tavin写频软件</source>
        <translation>Tavin Programming Software</translation>
    </message>
</context>
<context>
    <name>CAboutDlg</name>
    <message>
        <source>关于</source>
        <translation>About</translation>
    </message>
    <message>
        <source>版本1.0.1</source>
        <translation>Version 1.0.1</translation>
    </message>
    <message>
        <source>Tavin写频软件
版权所有 (C) 2026 Tavin</source>
        <translation>Tavin Programming Software
Copyright (C) 2026 Tavin</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>CMainFrame</name>
    <message>
        <source>文件(&amp;F)</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>新建(&amp;N)</source>
        <translation>&amp;New</translation>
    </message>
    <message>
        <source>打开(&amp;O)...</source>
        <translation>&amp;Open...</translation>
    </message>
    <message>
        <source>保存(&amp;S)</source>
        <translation>&amp;Save</translation>
    </message>
    <message>
        <source>另存为(&amp;A)...</source>
        <translation>Save &amp;As...</translation>
    </message>
    <message>
        <source>打印(&amp;P)...</source>
        <translation>&amp;Print...</translation>
    </message>
    <message>
        <source>打印预览(&amp;V)</source>
        <translation>Print Pre&amp;view</translation>
    </message>
    <message>
        <source>打印设置(&amp;R)...</source>
        <translation>P&amp;rint Setup...</translation>
    </message>
    <message>
        <source>退出(&amp;X)</source>
        <translation>E&amp;xit</translation>
    </message>
    <message>
        <source>从对讲机读取数据</source>
        <translation>&amp;Read from Radio</translation>
    </message>
    <message>
        <source>向对讲机写入数据</source>
        <translation>&amp;Write to Radio</translation>
    </message>
    <message>
        <source>COM1 	Ctrl+1</source>
        <translation>COM1 	Ctrl+1</translation>
    </message>
    <message>
        <source>COM2  	Ctrl+2</source>
        <translation>COM2  	Ctrl+2</translation>
    </message>
    <message>
        <source>COM3  	Ctrl+3</source>
        <translation>COM3  	Ctrl+3</translation>
    </message>
    <message>
        <source>COM4  	Ctrl+4</source>
        <translation>COM4  	Ctrl+4</translation>
    </message>
    <message>
        <source>工具栏(&amp;T)</source>
        <translation>&amp;Toolbar</translation>
    </message>
    <message>
        <source>状态栏(&amp;S)</source>
        <translation>&amp;Status Bar</translation>
    </message>
    <message>
        <source>关于 ...</source>
        <translation>&amp;About Tavin...</translation>
    </message>
    <message>
        <source>最近文件</source>
        <translation>Recent File</translation>
    </message>
    <message>
        <source>编程</source>
        <translation>&amp;Program</translation>
    </message>
    <message>
        <source>端口(&amp;C)</source>
        <translation>&amp;COM Port</translation>
    </message>
    <message>
        <source>工具(&amp;T)</source>
        <translation>&amp;Tools</translation>
    </message>
    <message>
        <source>查看(&amp;V)</source>
        <translation>&amp;View</translation>
    </message>
    <message>
        <source>帮助(&amp;H)</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>导入信道表(&amp;I)...</source>
        <translation>&amp;Import Channel List...</translation>
    </message>
    <message>
        <source>导出信道表(&amp;E)...</source>
        <translation>&amp;Export Channel List...</translation>
    </message>
    <message>
        <source>与文件比较(&amp;D)...</source>
        <translation>&amp;Compare with File...</translation>
    </message>
    <message>
        <source>核对对讲机(&amp;V)...</source>
        <translation>&amp;Verify Radio...</translation>
    </message>
    <message>
        <source>检查连接(&amp;K)...</source>
        <translation>Chec&amp;k Connection...</translation>
    </message>
    <message>
        <source>批量写频(&amp;F)...</source>
        <translation>&amp;Fleet Programming...</translation>
    </message>
</context>
<context>
    <name>CProgramApp</name>
    <message>
        <source>无法打开文件。

%1</source>
        <translation>Cannot open the file.

%1</translation>
    </message>
    <message>
        <source>无法保存文件。

%1</source>
        <translation>Cannot save the file.

%1</translation>
    </message>
</context>
<context>
    <name>CProgramDoc</name>
    <message>
        <source>无标题</source>
        <translation>Untitled</translation>
    </message>
</context>
<context>
    <name>CProgramView</name>
    <message>
        <source>打印</source>
        <translation>Print</translation>
    </message>
    <message>
        <source>机型</source>
        <translation>Model</translation>
    </message>
    <message>
        <source>频率</source>
        <translation>Band</translation>
    </message>
    <message>
        <source>机型设置</source>
        <translation>Radio Model</translation>
    </message>
    <message>
        <source>功能设置</source>
        <translation>Functions</translation>
    </message>
    <message>
        <source>发射限时</source>
        <translation>TX Timeout</translation>
    </message>
    <message>
        <source>提示音</source>
        <translation>Key Beep</translation>
    </message>
    <message>
        <source>静噪电平</source>
        <translation>Squelch Level</translation>
    </message>
    <message>
        <source>监听</source>
        <translation>Monitor</translation>
    </message>
    <message>
        <source>扫描</source>
        <translation>Scan</translation>
    </message>
    <message>
        <source> 报号选择</source>
        <translation>Voice Prompt</translation>
    </message>
    <message>
        <source>紧急呼叫          开关</source>
        <translation>Emergency Alarm</translation>
    </message>
    <message>
        <source>省电开关</source>
        <translation>Power Save</translation>
    </message>
    <message>
        <source>信道设置</source>
        <translation>Channels</translation>
    </message>
    <message>
        <source>拒绝紧急报警</source>
        <translation>Reject Alarm</translation>
    </message>
</context>
<context>
    <name>CProgressDlg</name>
    <message>
        <source>进度窗口</source>
        <translation>Progress</translation>
    </message>
    <message>
        <source>开始</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>进度值:</source>
        <translation>Progress:</translation>
    </message>
    <message>
        <source>等待中......</source>
        <translation>Waiting...</translation>
    </message>
    <message>
        <source>数据读取进度</source>
        <translation>Reading from Radio</translation>
    </message>
    <message>
        <source>数据写入进度</source>
        <translation>Writing to Radio</translation>
    </message>
</context>
<context>
    <name>CableCheckDialog</name>
    <message>
        <source>正常</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>注意</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>失败</source>
        <translation>Failed</translation>
    </message>
    <message>
        <source>未查</source>
        <translation>Not checked</translation>
    </message>
    <message>
        <source>串口 %1 还不能使用，请按下面标为“失败”的各项修正。</source>
        <translation>The port %1 is not ready: fix each check marked “Failed” below.</translation>
    </message>
    <message>
        <source>串口 %1 可以使用。</source>
        <translation>The port %1 is ready.</translation>
    </message>
    <message>
        <source>串口 %1 可以使用，对讲机已应答。</source>
        <translation>The port %1 is ready and a radio answered.</translation>
    </message>
    <message>
        <source>串口 %1 可以使用，但对讲机没有应答。</source>
        <translation>The port %1 is ready, but no radio answered.</translation>
    </message>
    <message>
        <source>检查连接</source>
        <translation>Check Connection</translation>
    </message>
    <message>
        <source>结果</source>
        <translation>Result</translation>
    </message>
    <message>
        <source>检查</source>
        <translation>Check</translation>
    </message>
    <message>
        <source>修正：%1</source>
        <translation>Fix: %1</translation>
    </message>
    <message>
        <source>复制报告(&amp;C)</source>
        <translation>&amp;Copy Report</translation>
    </message>
</context>
<context>
    <name>CommandTexts</name>
    <message>
        <source>建立新文档</source>
        <translation>Create a new document</translation>
    </message>
    <message>
        <source>新建</source>
        <translation>New</translation>
    </message>
    <message>
        <source>打开一个现有文档</source>
        <translation>Open an existing document</translation>
    </message>
    <message>
        <source>打开</source>
        <translation>Open</translation>
    </message>
    <message>
        <source>保存活动文档</source>
        <translation>Save the active document</translation>
    </message>
    <message>
        <source>保存</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>将活动文档以一个新文件名保存</source>
        <translation>Save the active document with a new name</translation>
    </message>
    <message>
        <source>另存为</source>
        <translation>Save As</translation>
    </message>
    <message>
        <source>改变打印机及打印选项</source>
        <translation>Change the printer and printing options</translation>
    </message>
    <message>
        <source>打印设置</source>
        <translation>Print Setup</translation>
    </message>
    <message>
        <source>打印活动文档</source>
        <translation>Print the active document</translation>
    </message>
    <message>
        <source>打印</source>
        <translation>Print</translation>
    </message>
    <message>
        <source>显示整页</source>
        <translation>Display full pages</translation>
    </message>
    <message>
        <source>打印预览</source>
        <translation>Print Preview</translation>
    </message>
    <message>
        <source>打开该文档</source>
        <translation>Open this document</translation>
    </message>
    <message>
        <source>显示程序信息，版本号和版权</source>
        <translation>Display program information, version number and copyright</translation>
    </message>
    <message>
        <source>关于</source>
        <translation>About</translation>
    </message>
    <message>
        <source>退出应用程序；提示保存文档</source>
        <translation>Quit the application; prompts to save the document</translation>
    </message>
    <message>
        <source>退出</source>
        <translation>Exit</translation>
    </message>
    <message>
        <source>从对讲机读取数据</source>
        <translation>Read the programming from the radio</translation>
    </message>
    <message>
        <source>读频</source>
        <translation>Read from Radio</translation>
    </message>
    <message>
        <source>向对讲机写入数据</source>
        <translation>Write the programming to the radio</translation>
    </message>
    <message>
        <source>写频</source>
        <translation>Write to Radio</translation>
    </message>
    <message>
        <source>选择串口1 </source>
        <translation>Use serial port COM1</translation>
    </message>
    <message>
        <source>Com1</source>
        <translation>COM1</translation>
    </message>
    <message>
        <source>选择串口2 </source>
        <translation>Use serial port COM2</translation>
    </message>
    <message>
        <source>Com2</source>
        <translation>COM2</translation>
    </message>
    <message>
        <source>选择串口3 </source>
        <translation>Use serial port COM3</translation>
    </message>
    <message>
        <source>Com3</source>
        <translation>COM3</translation>
    </message>
    <message>
        <source>选择串口4 </source>
        <translation>Use serial port COM4</translation>
    </message>
    <message>
        <source>Com4</source>
        <translation>COM4</translation>
    </message>
    <message>
        <source>显示或隐藏工具栏</source>
        <translation>Show or hide the toolbar</translation>
    </message>
    <message>
        <source>显隐工具栏</source>
        <translation>Toggle Toolbar</translation>
    </message>
    <message>
        <source>显示或隐藏状态栏</source>
        <translation>Show or hide the status bar</translation>
    </message>
    <message>
        <source>显隐状态栏</source>
        <translation>Toggle Status Bar</translation>
    </message>
    <message>
        <source>大写</source>
        <translation>CAP</translation>
    </message>
    <message>
        <source>数字</source>
        <translation>NUM</translation>
    </message>
    <message>
        <source>滚动</source>
        <translation>SCRL</translation>
    </message>
    <message>
        <source>就绪</source>
        <translation>Ready</translation>
    </message>
    <message>
        <source>Channel Data (*.sin)</source>
        <translation>Channel Data (*.sin)</translation>
    </message>
    <message>
        <source>从 CSV 或 JSON 信道表导入信道到窗体</source>
        <translation>Import the channels of a CSV or JSON channel list into the form</translation>
    </message>
    <message>
        <source>将窗体中的信道导出为 CSV 或 JSON 信道表</source>
        <translation>Export the form&apos;s channels as a CSV or JSON channel list</translation>
    </message>
    <message>
        <source>将窗体与一个信道文件比较，列出不同之处</source>
        <translation>Compare the form with a channel file and list the differences</translation>
    </message>
    <message>
        <source>读取对讲机，核对其数据是否与窗体一致</source>
        <translation>Read the radio and check that it holds what the form shows</translation>
    </message>
    <message>
        <source>检查当前串口、编程线及其驱动，并给出修正方法</source>
        <translation>Check the current serial port, the programming cable and its driver, and say how to fix them</translation>
    </message>
    <message>
        <source>用窗体中的数据给多台对讲机写频，逐台备份、核对并记入审计日志</source>
        <translation>Program many radios with what the form shows, each backed up, verified and recorded in an audit log</translation>
    </message>
</context>
<context>
    <name>DialogFleetPrompts</name>
    <message>
        <source>批量写频</source>
        <translation>Fleet Programming</translation>
    </message>
    <message>
        <source>%1 有未保存的修改。批量写频写入的是保存后的文件，审计日志记录该文件及其校验值。

现在保存并开始吗？</source>
        <translation>%1 has unsaved changes. Fleet programming writes the saved file, and the audit log records that file and its checksum.

Save now and start?</translation>
    </message>
    <message>
        <source>正在给对讲机写频。停止全部端口并关闭窗口吗？

每个端口会在安全处停止；写到一半的对讲机会记入审计日志，其原数据见备份。</source>
        <translation>Radios are being programmed. Stop every port and close the window?

Each port stops at a safe point; a radio left half-written is recorded in the audit log, and its old programming is in its backup.</translation>
    </message>
    <message>
        <source>备份文件夹</source>
        <translation>Backup Folder</translation>
    </message>
    <message>
        <source>审计日志</source>
        <translation>Audit Log</translation>
    </message>
    <message>
        <source>审计日志 (*.jsonl);;所有文件 (*)</source>
        <translation>Audit logs (*.jsonl);;All files (*)</translation>
    </message>
</context>
<context>
    <name>DialogToolPrompts</name>
    <message>
        <source>信道表，本程序格式 (*.csv)</source>
        <translation>Channel list, Tavin&apos;s columns (*.csv)</translation>
    </message>
    <message>
        <source>信道表，通用交换格式 (*.csv)</source>
        <translation>Channel list, interchange layout (*.csv)</translation>
    </message>
    <message>
        <source>信道表，JSON，含设置 (*.json)</source>
        <translation>Channel list with the settings, JSON (*.json)</translation>
    </message>
    <message>
        <source>导入信道表</source>
        <translation>Import Channel List</translation>
    </message>
    <message>
        <source>信道表 (*.csv *.json)</source>
        <translation>Channel lists (*.csv *.json)</translation>
    </message>
    <message>
        <source>所有文件 (*)</source>
        <translation>All Files (*)</translation>
    </message>
    <message>
        <source>导出信道表</source>
        <translation>Export Channel List</translation>
    </message>
    <message>
        <source>与文件比较</source>
        <translation>Compare with File</translation>
    </message>
</context>
<context>
    <name>EditorMessages</name>
    <message>
        <source>Prompt</source>
        <translation>Out of Band</translation>
    </message>
    <message>
        <source>Please input Number</source>
        <translation>Please enter a number.</translation>
    </message>
</context>
<context>
    <name>FleetBoard</name>
    <message>
        <source>端口</source>
        <translation>Port</translation>
    </message>
    <message>
        <source>状态</source>
        <translation>State</translation>
    </message>
    <message>
        <source>进度</source>
        <translation>Progress</translation>
    </message>
    <message>
        <source>本端口</source>
        <translation>This port</translation>
    </message>
    <message>
        <source>编号</source>
        <translation>Radio</translation>
    </message>
    <message>
        <source>开始</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>结果</source>
        <translation>Result</translation>
    </message>
    <message>
        <source>秒</source>
        <translation>Seconds</translation>
    </message>
    <message>
        <source>备份</source>
        <translation>Backup</translation>
    </message>
    <message>
        <source>原因</source>
        <translation>Reason</translation>
    </message>
    <message>
        <source>在窗体中打开备份(&amp;O)</source>
        <translation>&amp;Open Backup in the Form</translation>
    </message>
    <message>
        <source>继续</source>
        <translation>Continue</translation>
    </message>
    <message>
        <source>&#x3000;正在停止：每个端口在下一个安全处结束……</source>
        <translation>   Stopping: each port ends at its next safe point...</translation>
    </message>
    <message>
        <source>审计日志：%1</source>
        <translation>Audit log: %1</translation>
    </message>
</context>
<context>
    <name>FleetSetup</name>
    <message>
        <source>端口</source>
        <translation>Ports</translation>
    </message>
    <message>
        <source>不限（直到停止）</source>
        <translation>No limit (until stopped)</translation>
    </message>
    <message>
        <source> 台</source>
        <translation> radios</translation>
    </message>
    <message>
        <source>对讲机数量：</source>
        <translation>Number of radios:</translation>
    </message>
    <message>
        <source>浏览...</source>
        <translation>Browse...</translation>
    </message>
    <message>
        <source>备份文件夹：</source>
        <translation>Backup folder:</translation>
    </message>
    <message>
        <source>审计日志：</source>
        <translation>Audit log:</translation>
    </message>
    <message>
        <source>逐台确认：每接好一台，按该端口的“继续”按钮（不等待拔下上一台）</source>
        <translation>Confirm each radio: press the port&apos;s &quot;Continue&quot; button when the next radio is connected (instead of waiting for the last one to be unplugged)</translation>
    </message>
    <message>
        <source>%1（未找到设备）</source>
        <translation>%1 (no device found)</translation>
    </message>
    <message>
        <source>%1（%2）</source>
        <translation>%1 (%2)</translation>
    </message>
    <message>
        <source>默认：信道文件旁，以文件名和日期命名</source>
        <translation>Default: beside the channel file, named after it and the date</translation>
    </message>
    <message>
        <source>默认：备份文件夹中的 clone-log.jsonl</source>
        <translation>Default: clone-log.jsonl in the backup folder</translation>
    </message>
</context>
<context>
    <name>FleetTexts</name>
    <message>
        <source>第 %1 台：%2</source>
        <translation>Radio %1: %2</translation>
    </message>
    <message>
        <source>等待对讲机</source>
        <translation>Waiting for a radio</translation>
    </message>
    <message>
        <source>正在读取备份</source>
        <translation>reading the backup</translation>
    </message>
    <message>
        <source>正在写入</source>
        <translation>writing</translation>
    </message>
    <message>
        <source>正在回读核对</source>
        <translation>reading back to verify</translation>
    </message>
    <message>
        <source>%1，请换下一台</source>
        <translation>%1; connect the next radio</translation>
    </message>
    <message>
        <source>%1，接好下一台后按“继续”</source>
        <translation>%1; connect the next radio and press &quot;Continue&quot;</translation>
    </message>
    <message>
        <source>找不到串口设备，正在重试</source>
        <translation>No serial device found; trying again</translation>
    </message>
    <message>
        <source>端口被其他程序或主窗口的读写频占用，正在重试</source>
        <translation>The port is in use by another program or by a read or write of the main window; trying again</translation>
    </message>
    <message>
        <source>端口无法打开（%1），正在重试</source>
        <translation>The port cannot be opened (%1); trying again</translation>
    </message>
    <message>
        <source>已停止</source>
        <translation>Stopped</translation>
    </message>
    <message>
        <source>核对无误 %1 台</source>
        <translation>%1 verified</translation>
    </message>
    <message>
        <source>，未成功 %1 台</source>
        <translation>, %1 not</translation>
    </message>
    <message>
        <source>核对无误</source>
        <translation>Verified</translation>
    </message>
    <message>
        <source>核对不符</source>
        <translation>Verify mismatch</translation>
    </message>
    <message>
        <source>失败</source>
        <translation>Failed</translation>
    </message>
    <message>
        <source>已取消</source>
        <translation>Cancelled</translation>
    </message>
    <message>
        <source>进行中</source>
        <translation>In progress</translation>
    </message>
    <message>
        <source>原数据见备份</source>
        <translation>its old programming is in the backup</translation>
    </message>
    <message>
        <source>写入后回读与文件有 %1 处不同，%2</source>
        <translation>after the write the radio differs from the file in %1 places; %2</translation>
    </message>
    <message>
        <source>读取备份时停止，未写入</source>
        <translation>stopped while reading the backup; nothing was written</translation>
    </message>
    <message>
        <source>已全部写入，回读核对时停止，未核对</source>
        <translation>written in full; stopped while reading back, not verified</translation>
    </message>
    <message>
        <source>写入前停止，未写入，%1</source>
        <translation>stopped before the write; nothing was written; %1</translation>
    </message>
    <message>
        <source>写入时停止：已写入 %1 块（共 %2 块），新旧数据混合，%3</source>
        <translation>stopped during the write: %1 of %2 blocks written, a mix of old and new; %3</translation>
    </message>
    <message>
        <source>备份无法保存，未写入</source>
        <translation>the backup could not be saved; nothing was written</translation>
    </message>
    <message>
        <source>写入时端口无法打开，未写入，%1</source>
        <translation>the port could not be opened for the write; nothing was written; %1</translation>
    </message>
    <message>
        <source>写入前对讲机不再应答，未写入，%1</source>
        <translation>the radio stopped answering before the write; nothing was written; %1</translation>
    </message>
    <message>
        <source>已全部写入，但回读失败（第 %1 块），未核对</source>
        <translation>written in full, but the read-back failed (block %1); not verified</translation>
    </message>
    <message>
        <source>读取备份失败（第 %1 块），未写入</source>
        <translation>the backup read failed (block %1); nothing was written</translation>
    </message>
    <message>
        <source>写入失败（第 %1 块），未写入，%2</source>
        <translation>the write failed (block %1); nothing was written; %2</translation>
    </message>
    <message>
        <source>写入失败（第 %1 块）：已写入 %2 块（共 %3 块），新旧数据混合，%4</source>
        <translation>the write failed (block %1): %2 of %3 blocks written, a mix of old and new; %4</translation>
    </message>
    <message>
        <source>核对无误：%1 台&#x3000;未成功：%2 台</source>
        <translation>Verified: %1   Not verified: %2</translation>
    </message>
    <message>
        <source>共 %1 台：%2 台已写入并核对无误</source>
        <translation>%1 radios: %2 programmed and verified</translation>
    </message>
    <message>
        <source>，%1 台未成功</source>
        <translation>, %1 not</translation>
    </message>
    <message>
        <source>  %1：%2</source>
        <translation>  %1: %2</translation>
    </message>
    <message>
        <source>    第 %1 台：%2，%3</source>
        <translation>    radio %1: %2, %3</translation>
    </message>
    <message>
        <source>请至少选择一个端口。</source>
        <translation>Choose at least one port.</translation>
    </message>
    <message>
        <source>找不到 %1 的串口设备。</source>
        <translation>No serial device found for %1.</translation>
    </message>
    <message>
        <source>%1 和 %2 是同一个设备，每个端口只能选一次。</source>
        <translation>%1 and %2 are the same device; choose each port once.</translation>
    </message>
    <message>
        <source>无法打开 %1（%2）。如果主窗口正在用这个端口读写频，请等它结束。</source>
        <translation>Cannot open %1 (%2). If the main window is reading or writing a radio on this port, wait until it has finished.</translation>
    </message>
    <message>
        <source>审计日志不能是要写入的信道文件本身。</source>
        <translation>The audit log cannot be the channel file being programmed.</translation>
    </message>
    <message>
        <source>无法建立备份文件夹。

%1</source>
        <translation>Cannot make the backup folder.

%1</translation>
    </message>
    <message>
        <source>备份文件夹中无法保存文件。

%1</source>
        <translation>The backup folder does not take files.

%1</translation>
    </message>
    <message>
        <source>无法写入审计日志。

%1</source>
        <translation>Cannot write the audit log.

%1</translation>
    </message>
</context>
<context>
    <name>FleetWindow</name>
    <message>
        <source>批量写频</source>
        <translation>Fleet Programming</translation>
    </message>
    <message>
        <source>主窗口仍可使用；但同一个端口不能同时用于批量写频和主窗口的读写频，正在使用的端口会被拒绝。</source>
        <translation>The main window stays usable, but a port cannot be used by the fleet and by a read or write of the main window at once: a port in use is refused.</translation>
    </message>
    <message>
        <source>开始(&amp;S)</source>
        <translation>&amp;Start</translation>
    </message>
    <message>
        <source>停止(&amp;T)</source>
        <translation>S&amp;top</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>写入：窗体中的数据（开始前须先保存为文件）</source>
        <translation>Programs: what the form shows (saved to a file before the start)</translation>
    </message>
    <message>
        <source>写入：%1（窗体中的数据）</source>
        <translation>Programs: %1 (what the form shows)</translation>
    </message>
    <message>
        <source>无法读取要写入的信道文件。

%1</source>
        <translation>Cannot read the channel file to program.

%1</translation>
    </message>
    <message>
        <source>%1 不是完整的信道文件</source>
        <translation>%1 is not a whole channel file</translation>
    </message>
    <message>
        <source>写入：%1</source>
        <translation>Programs: %1</translation>
    </message>
    <message>
        <source>主窗口正在读写频，结束后才能开始或关闭批量写频。</source>
        <translation>The main window is reading or writing a radio: fleet programming can start or close once it has finished.</translation>
    </message>
    <message>
        <source>批量写频正在使用 %1。同一个端口不能同时用于批量写频和读写频：请等批量写频结束，或在“端口”菜单中选择其他端口。</source>
        <translation>Fleet programming is using %1. One port cannot be used for fleet programming and for reading or writing at the same time: wait until fleet programming has ended, or choose another port in the COM Port menu.</translation>
    </message>
</context>
<context>
    <name>FrequencyEntry</name>
    <message>
        <source>Error Data Format，Please input again</source>
        <translation>Invalid frequency. Please enter a frequency from 60 to 600 MHz.</translation>
    </message>
    <message>
        <source>Out of range!</source>
        <translation>The frequency is outside the selected band.</translation>
    </message>
    <message>
        <source>Error data Value，Please input according the step value(6.25K/5k)</source>
        <translation>The frequency is not on a 6.25 kHz or 5 kHz step. Please enter it again.</translation>
    </message>
</context>
<context>
    <name>ListImport</name>
    <message>
        <source>无法导入信道表 %1：

</source>
        <translation>Cannot import the channel list %1:

</translation>
    </message>
    <message>
        <source>... (%1 errors in all)
</source>
        <translation>... (%1 errors in all)
</translation>
    </message>
    <message>
        <source>无法打开文件。

%1</source>
        <translation>Cannot open the file.

%1</translation>
    </message>
</context>
<context>
    <name>PagePrinter</name>
    <message>
        <source>无法写入文件“%1”。

%2</source>
        <translation>Cannot write the file “%1”.

%2</translation>
    </message>
    <message>
        <source>无法写入文件“%1”。</source>
        <translation>Cannot write the file “%1”.</translation>
    </message>
    <message>
        <source>没有可用的打印机。</source>
        <translation>No printer is available.</translation>
    </message>
    <message>
        <source>无法在打印机“%1”上打印。</source>
        <translation>Cannot print on the printer “%1”.</translation>
    </message>
    <message>
        <source>打印设置</source>
        <translation>Print Setup</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>打印</source>
        <translation>Print</translation>
    </message>
    <message>
        <source>打印预览</source>
        <translation>Print Preview</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>取消预阅</source>
        <translation>Close Preview</translation>
    </message>
    <message>
        <source>关闭打印预览模式</source>
        <translation>Close print preview mode</translation>
    </message>
</context>
<context>
    <name>RadioData</name>
    <message>
        <source>是</source>
        <translation>Yes</translation>
    </message>
    <message>
        <source>否</source>
        <translation>No</translation>
    </message>
    <message>
        <source>宽带</source>
        <translation>Wide</translation>
    </message>
    <message>
        <source>窄带</source>
        <translation>Narrow</translation>
    </message>
    <message>
        <source>添加</source>
        <translation>Add</translation>
    </message>
    <message>
        <source>删除</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>高</source>
        <translation>High</translation>
    </message>
    <message>
        <source>中</source>
        <translation>Mid</translation>
    </message>
    <message>
        <source>低</source>
        <translation>Low</translation>
    </message>
    <message>
        <source>信道</source>
        <translation>CH</translation>
    </message>
    <message>
        <source>接收频率(MHz)</source>
        <translation>Rx Freq (MHz)</translation>
    </message>
    <message>
        <source>发射频率(MHz)</source>
        <translation>Tx Freq (MHz)</translation>
    </message>
    <message>
        <source>QT/DQT解码</source>
        <translation>Rx QT/DQT</translation>
    </message>
    <message>
        <source>QT/DQT编码</source>
        <translation>Tx QT/DQT</translation>
    </message>
    <message>
        <source>繁忙锁定</source>
        <translation>Busy Lock</translation>
    </message>
    <message>
        <source>宽/窄带</source>
        <translation>W/N</translation>
    </message>
    <message>
        <source>扫描</source>
        <translation>Scan</translation>
    </message>
    <message>
        <source>功率</source>
        <translation>Power</translation>
    </message>
    <message>
        <source>136 - 174MHZ</source>
        <translation>136 - 174 MHz</translation>
    </message>
    <message>
        <source>350 - 400MHZ</source>
        <translation>350 - 400 MHz</translation>
    </message>
    <message>
        <source>400 - 470MHZ</source>
        <translation>400 - 470 MHz</translation>
    </message>
    <message>
        <source>430 - 500MHZ</source>
        <translation>430 - 500 MHz</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Off</translation>
    </message>
    <message>
        <source>开</source>
        <translation>On</translation>
    </message>
    <message>
        <source>关</source>
        <translation>Off</translation>
    </message>
    <message>
        <source>瞬时监听</source>
        <translation>Momentary</translation>
    </message>
    <message>
        <source>监听锁定</source>
        <translation>Latched</translation>
    </message>
    <message>
        <source>SQ-Off 瞬时</source>
        <translation>SQ Off Momentary</translation>
    </message>
    <message>
        <source>英语</source>
        <translation>English</translation>
    </message>
    <message>
        <source>中文</source>
        <translation>Chinese</translation>
    </message>
    <message>
        <source>本地报警</source>
        <translation>Local Alarm</translation>
    </message>
    <message>
        <source>本地发射报警</source>
        <translation>Local + TX Alarm</translation>
    </message>
    <message>
        <source>发射报警</source>
        <translation>TX Alarm</translation>
    </message>
    <message>
        <source>打开</source>
        <translation>On</translation>
    </message>
    <message>
        <source>无</source>
        <translation>None</translation>
    </message>
</context>
<context>
    <name>RadioLink</name>
    <message>
        <source>无法打开串口,请检查串口是否被占用或设备是否正常。</source>
        <translation>Cannot open the serial port. Check that no other program is using it and that the cable is plugged in.</translation>
    </message>
    <message>
        <source>正在检测通讯串口,请稍候...</source>
        <translation>Checking the port, please wait...</translation>
    </message>
    <message>
        <source>等待对讲机响应....</source>
        <translation>Waiting for the radio...</translation>
    </message>
    <message>
        <source> 发送状态出错。</source>
        <translation>Error sending the acknowledgement.</translation>
    </message>
    <message>
        <source>通讯错误，请检查连接是否正常,对讲机电源是否打开。</source>
        <translation>Communication error. Check the cable and that the radio is switched on.</translation>
    </message>
    <message>
        <source> 程序中断，请请重启对讲机并重试。</source>
        <translation>Programming was interrupted. Please switch the radio off and on and try again.</translation>
    </message>
    <message>
        <source>没有收到足够的字节。</source>
        <translation>Not enough bytes were received.</translation>
    </message>
    <message>
        <source>发生错误，请重试。</source>
        <translation>An error occurred. Please try again.</translation>
    </message>
</context>
<context>
    <name>ReportDialog</name>
    <message>
        <source>复制(&amp;C)</source>
        <translation>&amp;Copy</translation>
    </message>
</context>
<context>
    <name>SettingsPage</name>
    <message>
        <source>Mixed</source>
        <translation>Mixed</translation>
    </message>
    <message>
        <source>(none)</source>
        <translation>(none)</translation>
    </message>
    <message>
        <source>The Radio Settings</source>
        <translation>The Radio Settings</translation>
    </message>
    <message>
        <source>Function Setting:</source>
        <translation>Function Settings:</translation>
    </message>
    <message>
        <source>Type:   </source>
        <translation>Model: </translation>
    </message>
    <message>
        <source>Frequency Field:</source>
        <translation>Band: </translation>
    </message>
    <message>
        <source>Tx Total Time: </source>
        <translation>TX Timeout: </translation>
    </message>
    <message>
        <source>Warning Setting: </source>
        <translation>Key Beep: </translation>
    </message>
    <message>
        <source>Squelch Level: </source>
        <translation>Squelch Level: </translation>
    </message>
    <message>
        <source>W/N: </source>
        <translation>W/N: </translation>
    </message>
    <message>
        <source>Moni: </source>
        <translation>Monitor: </translation>
    </message>
    <message>
        <source>Channel Setting:</source>
        <translation>Channel Settings:</translation>
    </message>
    <message>
        <source>%1    Rx(MHz)  Tx(MHz)     %2  %3     %4</source>
        <translation>%1      Rx(MHz)           Tx(MHz)                 %2  %3   %4</translation>
    </message>
</context>
<context>
    <name>ToolCommands</name>
    <message>
        <source>导入信道表</source>
        <translation>Import Channel List</translation>
    </message>
    <message>
        <source>无法打开文件。</source>
        <translation>Cannot open the file.</translation>
    </message>
    <message numerus="yes">
        <source>无法导入信道表 %1：共 %n 处错误，窗体未作改动。</source>
        <translation>
            <numerusform>Cannot import the channel list %1: %n error; the form is unchanged.</numerusform>
            <numerusform>Cannot import the channel list %1: %n errors; the form is unchanged.</numerusform>
        </translation>
    </message>
    <message>
        <source>已导入信道表 %1</source>
        <translation>Imported the channel list %1</translation>
    </message>
    <message>
        <source>已导入信道表 %1。请注意：</source>
        <translation>Imported the channel list %1. Please note:</translation>
    </message>
    <message>
        <source>导出信道表</source>
        <translation>Export Channel List</translation>
    </message>
    <message>
        <source>%1 是窗体的信道文件本身，请另选一个文件名。</source>
        <translation>%1 is the form&apos;s own channel file; choose another file name.</translation>
    </message>
    <message>
        <source>无法保存文件。</source>
        <translation>Cannot save the file.</translation>
    </message>
    <message>
        <source>已导出信道表 %1</source>
        <translation>Exported the channel list %1</translation>
    </message>
    <message>
        <source>已导出信道表 %1。此格式不能容纳以下内容：</source>
        <translation>Exported the channel list %1. This format cannot hold the following:</translation>
    </message>
    <message>
        <source>与文件比较</source>
        <translation>Compare with File</translation>
    </message>
    <message>
        <source>%1 是空文件；信道文件应有 %2 字节。</source>
        <translation>%1 is empty; a channel file holds %2 bytes.</translation>
    </message>
    <message>
        <source>窗体</source>
        <translation>form</translation>
    </message>
    <message>
        <source>窗体与 %1 相同（全部 %2 字节）。</source>
        <translation>The form and %1 are the same (all %2 bytes).</translation>
    </message>
    <message numerus="yes">
        <source>窗体与 %1 有 %n 处不同：</source>
        <translation>
            <numerusform>The form and %1 differ in %n place:</numerusform>
            <numerusform>The form and %1 differ in %n places:</numerusform>
        </translation>
    </message>
    <message>
        <source>%1 长于 %2 字节，只比较了前 %2 字节。</source>
        <translation>%1 is longer than %2 bytes; only its first %2 bytes were compared.</translation>
    </message>
    <message>
        <source>对讲机</source>
        <translation>radio</translation>
    </message>
    <message>
        <source>核对对讲机</source>
        <translation>Verify Radio</translation>
    </message>
    <message>
        <source>%1 上的对讲机与窗体一致（写频写入的全部字节，0x000 至 0x3D7）。</source>
        <translation>The radio on %1 holds what the form shows (every byte a write sends, 0x000 to 0x3D7).</translation>
    </message>
    <message numerus="yes">
        <source>%1 上的对讲机与窗体有 %n 处不同：</source>
        <translation>
            <numerusform>The radio on %1 differs from the form in %n place:</numerusform>
            <numerusform>The radio on %1 differs from the form in %n places:</numerusform>
        </translation>
    </message>
    <message>
        <source>正在检查 %1 的连接并询问对讲机（最多 15 次探测，不读写数据）……</source>
        <translation>Checking the connection on %1 and asking the radio (up to 15 probes; nothing is read or written)...</translation>
    </message>
    <message>
        <source>检查连接</source>
        <translation>Check Connection</translation>
    </message>
</context>
<context>
    <name>TransferController</name>
    <message>
        <source>写入未完成。对讲机中前 %1 块（共 %2 块）已是新数据，其余仍是原来的数据。请再次向对讲机写入数据以完成写频。</source>
        <translation>The write did not finish. The radio now holds the new programming in its first %1 of %2 blocks and the old programming in the rest. Write to the radio again to complete it.</translation>
    </message>
</context>
<context>
    <name>TransferPrompts</name>
    <message>
        <source>正在与对讲机传输数据。取消传输并退出吗？</source>
        <translation>A transfer with the radio is running. Cancel it and exit?</translation>
    </message>
</context>
<context>
    <name>UserPrompts</name>
    <message>
        <source>是否保存对 %1 的更改？</source>
        <translation>Save changes to %1?</translation>
    </message>
    <message>
        <source>打开</source>
        <translation>Open</translation>
    </message>
    <message>
        <source>所有文件 (*)</source>
        <translation>All Files (*)</translation>
    </message>
    <message>
        <source>另存为</source>
        <translation>Save As</translation>
    </message>
</context>
</TS>
