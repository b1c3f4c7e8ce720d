<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>LumetClass</name>
    <message>
        <source>No ARDEX RGB DRAM module(s) found on your computer system!

Program will be terminated.</source>
        <translation>您的计算机系统中未找到 ARDEX RGB DRAM 内存模块！

程序将退出。</translation>
    </message>
    <message>
        <source>APPLY</source>
        <translation>应用</translation>
    </message>
    <message>
        <source>UNDO</source>
        <translation>撤销</translation>
    </message>
    <message>
        <source>DEFAULT</source>
        <translation>默认</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>关闭</translation>
    </message>
    <message>
        <source>Switch all LEDs on or off</source>
        <translation>打开或关闭所有 LED</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>错误</translation>
    </message>
    <message>
        <source>Static</source>
        <translation>静态</translation>
    </message>
    <message>
        <source>Breathing</source>
        <translation>呼吸</translation>
    </message>
    <message>
        <source>Strobing</source>
        <translation>频闪</translation>
    </message>
    <message>
        <source>Color Cycle</source>
        <translation>色彩循环</translation>
    </message>
    <message>
        <source>Rainbow</source>
        <translation>彩虹</translation>
    </message>
    <message>
        <source>Comet</source>
        <translation>彗星</translation>
    </message>
    <message>
        <source>Double Comet</source>
        <translation>双彗星</translation>
    </message>
    <message>
        <source>Wave</source>
        <translation>波浪</translation>
    </message>
    <message>
        <source>Color Wave</source>
        <translation>色彩波浪</translation>
    </message>
    <message>
        <source>Ripple</source>
        <translation>涟漪</translation>
    </message>
    <message>
        <source>Random Strobe</source>
        <translation>随机频闪</translation>
    </message>
    <message>
        <source>Temperature</source>
        <translation>温度</translation>
    </message>
    <message>
        <source>Music</source>
        <translation>音乐</translation>
    </message>
    <message>
        <source>Sleep</source>
        <translation>睡眠</translation>
    </message>
</context>
</TS>
