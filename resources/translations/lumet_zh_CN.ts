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
    <message>
        <source>Plain</source>
        <translation>单色</translation>
    </message>
    <message>
        <source>Gradient</source>
        <translation>渐变</translation>
    </message>
    <message>
        <source>Across all devices</source>
        <translation>应用到所有设备</translation>
    </message>
    <message>
        <source>SPEED</source>
        <translation>速度</translation>
    </message>
    <message>
        <source>Fast</source>
        <translation>快</translation>
    </message>
    <message>
        <source>Slow</source>
        <translation>慢</translation>
    </message>
    <message>
        <source>Cycle</source>
        <translation>循环</translation>
    </message>
    <message>
        <source>MODE</source>
        <translation>模式</translation>
    </message>
    <message>
        <source>This effect does not require user input. Select APPLY to activate the effect.</source>
        <translation>此效果无需用户输入。选择“应用”即可启用该效果。</translation>
    </message>
    <message>
        <source>If selected, the motherboard LEDs will not light up in sleep, hibernate and soft off states.</source>
        <translation>选中后，主板 LED 在睡眠、休眠和软关机状态下将不会亮起。</translation>
    </message>
    <message>
        <source>[Unknown effect]</source>
        <translation>[未知效果]</translation>
    </message>
    <message>
        <source>COLOR</source>
        <translation>颜色</translation>
    </message>
    <message>
        <source>Reverse</source>
        <translation>反向</translation>
    </message>
    <message>
        <source>From %1 at the left to %2 at the right.</source>
        <translation>左端为%1，右端为%2。</translation>
    </message>
    <message>
        <source>LED. The color palette colors the picked LED; Left and Right pick the next one.</source>
        <translation>LED。调色板为所选 LED 设置颜色；左右方向键选择相邻的 LED。</translation>
    </message>
    <message>
        <source>Red</source>
        <translation>红色</translation>
    </message>
    <message>
        <source>Green</source>
        <translation>绿色</translation>
    </message>
    <message>
        <source>Blue</source>
        <translation>蓝色</translation>
    </message>
    <message>
        <source>Color palette</source>
        <translation>调色板</translation>
    </message>
    <message>
        <source>Left and Right turn the hue; Up and Down make the color darker or lighter.</source>
        <translation>左右方向键调整色相；上下方向键使颜色变暗或变亮。</translation>
    </message>
    <message>
        <source>Left and Right move the end of the color range; Up and Down move its start.</source>
        <translation>左右方向键移动颜色范围的终点；上下方向键移动其起点。</translation>
    </message>
    <message>
        <source>Left and Right turn the hue.</source>
        <translation>左右方向键调整色相。</translation>
    </message>
    <message>
        <source>Closes the panel.</source>
        <translation>关闭本程序。</translation>
    </message>
    <message>
        <source>All LEDs</source>
        <translation>所有 LED</translation>
    </message>
    <message>
        <source>Sends the chosen effect and its colors to the lighting.</source>
        <translation>将所选效果及其颜色发送到灯光。</translation>
    </message>
    <message>
        <source>Returns the lighting to its defaults.</source>
        <translation>将灯光恢复为默认设置。</translation>
    </message>
    <message>
        <source>Drops the changes not yet applied.</source>
        <translation>放弃尚未应用的更改。</translation>
    </message>
    <message>
        <source>Previous LEDs</source>
        <translation>上一页 LED</translation>
    </message>
    <message>
        <source>Next LEDs</source>
        <translation>下一页 LED</translation>
    </message>
    <message>
        <source>Color for all LEDs</source>
        <translation>所有 LED 使用此颜色</translation>
    </message>
    <message>
        <source>Gives every LED the color of the picked LED.</source>
        <translation>将所选 LED 的颜色应用到每个 LED。</translation>
    </message>
</context>
<context>
    <name>LumetClass_Alt</name>
    <message>
        <source>Rock</source>
        <translation>摇滚</translation>
    </message>
    <message>
        <source>Hip Hop</source>
        <translation>嘻哈</translation>
    </message>
    <message>
        <source>Party</source>
        <translation>派对</translation>
    </message>
    <message>
        <source>Sleep</source>
        <translation>睡眠</translation>
    </message>
    <message>
        <source>Funk</source>
        <translation>放克</translation>
    </message>
    <message>
        <source>Romance</source>
        <translation>浪漫</translation>
    </message>
    <message>
        <source>Jazz</source>
        <translation>爵士</translation>
    </message>
    <message>
        <source>Normal</source>
        <translation>普通</translation>
    </message>
    <message>
        <source>Static</source>
        <translation>静态</translation>
    </message>
</context>
</TS>
