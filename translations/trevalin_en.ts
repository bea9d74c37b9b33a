<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="zh_CN">
<context>
    <name>CAboutDlg</name>
    <message>
        <source>关于 Trevalin</source>
        <translation>About Trevalin</translation>
    </message>
    <message>
        <source>Trevalin 1.0 版</source>
        <translation>Trevalin version 1.0</translation>
    </message>
    <message>
        <source>沿对应特征线把一幅图像渐变为另一幅。</source>
        <translation>Morphs one picture into another along matching feature lines.</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>CCompressionDialog</name>
    <message>
        <source>视频压缩</source>
        <translation>Video Compression</translation>
    </message>
    <message>
        <source>压缩程序(&amp;C):</source>
        <translation>&amp;Compressor:</translation>
    </message>
    <message>
        <source>全帧(非压缩的)</source>
        <translation>Full Frames (Uncompressed)</translation>
    </message>
    <message>
        <source>压缩质量(&amp;Q):</source>
        <translation>Compression &amp;quality:</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>CCurveCommands</name>
    <message>
        <source>形状曲线(&amp;H)</source>
        <translation>S&amp;hape Curve</translation>
    </message>
    <message>
        <source>颜色曲线(&amp;C)</source>
        <translation>&amp;Colour Curve</translation>
    </message>
    <message>
        <source>中间特征线的位置</source>
        <translation>The in-between lines</translation>
    </message>
    <message>
        <source>源图像与目标图像的溶解</source>
        <translation>The dissolve of the source into the target</translation>
    </message>
    <message>
        <source>线性(&amp;L)</source>
        <translation>&amp;Linear</translation>
    </message>
    <message>
        <source>缓入(&amp;I)</source>
        <translation>Ease &amp;In</translation>
    </message>
    <message>
        <source>缓出(&amp;O)</source>
        <translation>Ease &amp;Out</translation>
    </message>
    <message>
        <source>平滑(&amp;S)</source>
        <translation>&amp;Smooth</translation>
    </message>
    <message>
        <source>自定义(&amp;U)...</source>
        <translation>C&amp;ustom...</translation>
    </message>
    <message>
        <source>%1匀速变化
线性</source>
        <translation>%1 move at an even pace
Linear</translation>
    </message>
    <message>
        <source>%1开始时慢，然后加快
缓入</source>
        <translation>%1 start slowly, then speed up
Ease In</translation>
    </message>
    <message>
        <source>%1开始时快，结束时放慢
缓出</source>
        <translation>%1 start quickly and slow down at the end
Ease Out</translation>
    </message>
    <message>
        <source>%1在开始和结束时放慢，中间加快
平滑</source>
        <translation>%1 slow down at the start and the end, faster in between
Smooth</translation>
    </message>
    <message>
        <source>用可拖动控制点的贝塞尔曲线决定%1的快慢
自定义曲线</source>
        <translation>A Bezier curve with draggable control points sets the pace: %1
Custom Curve</translation>
    </message>
</context>
<context>
    <name>CCurveDialog</name>
    <message>
        <source>形状曲线</source>
        <translation>Shape Curve</translation>
    </message>
    <message>
        <source>颜色曲线</source>
        <translation>Colour Curve</translation>
    </message>
    <message>
        <source>横轴为时间,纵轴为中间特征线从源到目标的位置。</source>
        <translation>Time runs to the right; upwards, the in-between lines go from the source to the target.</translation>
    </message>
    <message>
        <source>横轴为时间,纵轴为目标图像在溶解中所占的比例。</source>
        <translation>Time runs to the right; upwards, the share of the target picture in the dissolve.</translation>
    </message>
    <message>
        <source>控制点 1 (x, y):</source>
        <translation>Control point 1 (x, y):</translation>
    </message>
    <message>
        <source>控制点 2 (x, y):</source>
        <translation>Control point 2 (x, y):</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>CDialogPrompts</name>
    <message>
        <source>保存</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>不保存</source>
        <translation>Don&apos;t Save</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>缩放并留边</source>
        <translation>Scale and pad</translation>
    </message>
    <message>
        <source>缩放并裁剪</source>
        <translation>Scale and crop</translation>
    </message>
    <message>
        <source>拉伸</source>
        <translation>Stretch</translation>
    </message>
    <message>
        <source>保持原样</source>
        <translation>Leave as it is</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>是</source>
        <translation>Yes</translation>
    </message>
    <message>
        <source>否</source>
        <translation>No</translation>
    </message>
</context>
<context>
    <name>CDocManager</name>
    <message>
        <source>tvl 文件(*.tvl) (*.tvl);;所有文件 (*.*) (*)</source>
        <translation>tvl files (*.tvl) (*.tvl);;All files (*.*) (*)</translation>
    </message>
    <message>
        <source>是否保存对 %1 的更改?</source>
        <translation>Save changes to %1?</translation>
    </message>
    <message>
        <source>正在生成渐变序列。停止它并新建项目吗?</source>
        <translation>A morph sequence is being generated. Stop it and start a new project?</translation>
    </message>
    <message>
        <source>正在生成渐变序列。停止它并打开另一个项目吗?</source>
        <translation>A morph sequence is being generated. Stop it and open another project?</translation>
    </message>
</context>
<context>
    <name>CEditCommands</name>
    <message>
        <source>撤销(&amp;U)	Ctrl+Z</source>
        <translation>&amp;Undo	Ctrl+Z</translation>
    </message>
    <message>
        <source>撤消最后一步操作
撤消</source>
        <translation>Undo the last action
Undo</translation>
    </message>
    <message>
        <source>重做(&amp;R)	Ctrl+Y</source>
        <translation>&amp;Redo	Ctrl+Y</translation>
    </message>
    <message>
        <source>重做上一步撤销的操作
重做</source>
        <translation>Redo the last undone action
Redo</translation>
    </message>
    <message>
        <source>删除(&amp;D)	Del</source>
        <translation>&amp;Delete	Del</translation>
    </message>
    <message>
        <source>删除选中的特征线及另一幅图像中与它配对的线
删除</source>
        <translation>Delete the selected feature line and its partner in the other picture
Delete</translation>
    </message>
    <message>
        <source>放大(&amp;I)	Ctrl++</source>
        <translation>Zoom &amp;In	Ctrl++</translation>
    </message>
    <message>
        <source>放大两幅图像
放大</source>
        <translation>Enlarge both pictures
Zoom In</translation>
    </message>
    <message>
        <source>缩小(&amp;O)	Ctrl+-</source>
        <translation>Zoom &amp;Out	Ctrl+-</translation>
    </message>
    <message>
        <source>缩小两幅图像
缩小</source>
        <translation>Shrink both pictures
Zoom Out</translation>
    </message>
    <message>
        <source>实际大小(&amp;A)	Ctrl+0</source>
        <translation>&amp;Actual Size	Ctrl+0</translation>
    </message>
    <message>
        <source>按实际大小显示图像(100%)
实际大小</source>
        <translation>Show the pictures at their actual size (100%)
Actual Size</translation>
    </message>
    <message>
        <source>适合窗口(&amp;W)</source>
        <translation>Fit to &amp;Window</translation>
    </message>
    <message>
        <source>缩放图像使其完整显示在窗格中
适合窗口</source>
        <translation>Scale the pictures so that they show whole in their panes
Fit to Window</translation>
    </message>
    <message>
        <source>按下即拖动(&amp;D)</source>
        <translation>&amp;Direct Drag</translation>
    </message>
    <message>
        <source>在点或线段上按下并移动鼠标即可拖动它，无需先选中
按下即拖动</source>
        <translation>Press on a point or segment and move the mouse to drag it, without selecting it first
Direct Drag</translation>
    </message>
    <message>
        <source>打开源图像(&amp;S)…</source>
        <translation>Open &amp;Source Picture…</translation>
    </message>
    <message>
        <source>打开一幅图像作为源图像(左窗格)
打开源图像</source>
        <translation>Open a picture as the source picture (left pane)
Open Source Picture</translation>
    </message>
    <message>
        <source>打开目标图像(&amp;T)…</source>
        <translation>Open &amp;Target Picture…</translation>
    </message>
    <message>
        <source>打开一幅图像作为目标图像(右窗格)
打开目标图像</source>
        <translation>Open a picture as the target picture (right pane)
Open Target Picture</translation>
    </message>
    <message>
        <source>编辑(&amp;E)</source>
        <translation>&amp;Edit</translation>
    </message>
    <message>
        <source>视图(&amp;V)</source>
        <translation>&amp;View</translation>
    </message>
    <message>
        <source>图像(&amp;I)</source>
        <translation>&amp;Picture</translation>
    </message>
    <message>
        <source>吸附到点(&amp;N)</source>
        <translation>S&amp;nap to Points</translation>
    </message>
    <message>
        <source>画线或拖动点时，端点靠近另一条特征线的点就吸附到该点上(按住 Shift 暂不吸附)
吸附到点</source>
        <translation>While a line is drawn or a point dragged, an end near another line&apos;s point lands on that point (hold Shift to place it freely)
Snap to Points</translation>
    </message>
</context>
<context>
    <name>CEditTexts</name>
    <message>
        <source>源图像</source>
        <translation>the source picture</translation>
    </message>
    <message>
        <source>目标图像</source>
        <translation>the target picture</translation>
    </message>
    <message>
        <source>%1 的大小是 %2 × %3，%4是 %5 × %6。
怎样使它适合%4的大小?</source>
        <translation>%1 is %2 × %3, %4 is %5 × %6.
How should it be fitted to the size of %4?</translation>
    </message>
    <message>
        <source>无法将图像复制到 %1：%2</source>
        <translation>Could not copy the picture to %1: %2</translation>
    </message>
    <message>
        <source>无法保存调整大小后的图像 %1。</source>
        <translation>Could not save the resized picture %1.</translation>
    </message>
    <message>
        <source>所有图像 (*.bmp *.jpg *.jpeg *.png *.gif *.webp *.tif *.tiff) (*.bmp *.jpg *.jpeg *.png *.gif *.webp *.tif *.tiff *.BMP *.JPG *.JPEG *.PNG *.GIF *.WEBP *.TIF *.TIFF);;Image Files (*.bmp;*jpg) (*.bmp *.jpg)</source>
        <translation>All pictures (*.bmp *.jpg *.jpeg *.png *.gif *.webp *.tif *.tiff) (*.bmp *.jpg *.jpeg *.png *.gif *.webp *.tif *.tiff *.BMP *.JPG *.JPEG *.PNG *.GIF *.WEBP *.TIF *.TIFF);;Image Files (*.bmp;*jpg) (*.bmp *.jpg)</translation>
    </message>
    <message>
        <source>无法把图像调整为 %1 x %2 像素:内存不足。</source>
        <translation>The picture cannot be resized to %1 x %2 pixels: not enough memory.</translation>
    </message>
</context>
<context>
    <name>CExportCommand</name>
    <message>
        <source>正在导出...</source>
        <translation>Exporting...</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>导出</source>
        <translation>Export</translation>
    </message>
    <message>
        <source>正在取消...</source>
        <translation>Cancelling...</translation>
    </message>
    <message>
        <source>项目 %1 的图像无法载入。</source>
        <translation>The pictures of the project %1 cannot be loaded.</translation>
    </message>
    <message>
        <source>无法打开项目 %1:%2</source>
        <translation>Cannot open the project %1: %2</translation>
    </message>
</context>
<context>
    <name>CExportDlg</name>
    <message>
        <source> 秒</source>
        <translation> s</translation>
    </message>
    <message>
        <source>导出</source>
        <translation>Export</translation>
    </message>
    <message>
        <source>浏览(&amp;B)...</source>
        <translation>&amp;Browse...</translation>
    </message>
    <message>
        <source>输出文件夹(&amp;F):</source>
        <translation>Output &amp;folder:</translation>
    </message>
    <message>
        <source>文件名(&amp;N):</source>
        <translation>File &amp;name:</translation>
    </message>
    <message>
        <source>无</source>
        <translation>None</translation>
    </message>
    <message>
        <source>JPEG 质量:</source>
        <translation>JPEG quality:</translation>
    </message>
    <message>
        <source>帧文件(&amp;I):</source>
        <translation>Frame f&amp;iles:</translation>
    </message>
    <message>
        <source>AVI(全帧,非压缩的)</source>
        <translation>AVI (full frames, uncompressed)</translation>
    </message>
    <message>
        <source>视频(&amp;V):</source>
        <translation>&amp;Video:</translation>
    </message>
    <message>
        <source> 帧/秒</source>
        <translation> fps</translation>
    </message>
    <message>
        <source>帧率(&amp;R):</source>
        <translation>Frame &amp;rate:</translation>
    </message>
    <message>
        <source>视频质量(&amp;Q):</source>
        <translation>Video &amp;quality:</translation>
    </message>
    <message>
        <source>图片原大小(%1 x %2)</source>
        <translation>Picture size (%1 x %2)</translation>
    </message>
    <message>
        <source>宽度(&amp;W):</source>
        <translation>&amp;Width:</translation>
    </message>
    <message>
        <source> 像素</source>
        <translation> px</translation>
    </message>
    <message>
        <source>输出大小(&amp;Z):</source>
        <translation>Output si&amp;ze:</translation>
    </message>
    <message>
        <source>往返(&amp;P):先正向再反向播放,便于循环</source>
        <translation>&amp;Ping-pong: play forwards, then backwards, for a seamless loop</translation>
    </message>
    <message>
        <source>首帧停留(&amp;S):</source>
        <translation>Hold first frame (&amp;S):</translation>
    </message>
    <message>
        <source>末帧停留(&amp;E):</source>
        <translation>Hold last frame (&amp;E):</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>高度随之:%1 像素</source>
        <translation>Height follows: %1 px</translation>
    </message>
    <message>
        <source>GIF 的帧延时以 1/100 秒计,高于 50 帧/秒的帧率按 50 帧/秒播放。</source>
        <translation>GIF frame delays count in hundredths of a second: frame rates above 50 fps play at 50 fps.</translation>
    </message>
    <message>
        <source>长度:</source>
        <translation>Length:</translation>
    </message>
    <message>
        <source>%1 帧, %2 秒</source>
        <translation>%1 frames, %2 s</translation>
    </message>
    <message>
        <source>%1 个帧文件, 没有视频</source>
        <translation>%1 frame files, no video</translation>
    </message>
    <message>
        <source>没有要写的文件</source>
        <translation>Nothing to write</translation>
    </message>
    <message>
        <source>经典</source>
        <translation>Classic</translation>
    </message>
    <message>
        <source>平滑</source>
        <translation>Smooth</translation>
    </message>
    <message>
        <source>2 x 2 超采样(&amp;U)</source>
        <translation>2 x 2 s&amp;upersampling</translation>
    </message>
    <message>
        <source>每个像素取 4 个平滑样本的平均值,边缘更平滑,导出时间约为 4 倍</source>
        <translation>Each pixel averages 4 smooth samples: smoother edges, about 4 times the export time</translation>
    </message>
    <message>
        <source>变形质量(&amp;M):</source>
        <translation>&amp;Morph quality:</translation>
    </message>
    <message>
        <source>时长(&amp;D):</source>
        <translation>&amp;Duration:</translation>
    </message>
    <message>
        <source>每段帧数(&amp;L):</source>
        <translation>Frames of each morph (&amp;L):</translation>
    </message>
    <message>
        <source>帧数(&amp;L):</source>
        <translation>Frames (&amp;L):</translation>
    </message>
    <message>
        <source>数值越大编码越快,文件稍大;5 及以上按实时速度编码</source>
        <translation>Higher is faster, with slightly larger files; 5 and above encode in real time</translation>
    </message>
    <message>
        <source>编码速度:</source>
        <translation>Encoding speed:</translation>
    </message>
    <message>
        <source>有序抖动(快)</source>
        <translation>Ordered dithering (fast)</translation>
    </message>
    <message>
        <source>误差扩散(细腻)</source>
        <translation>Error diffusion (finer)</translation>
    </message>
    <message>
        <source>有序抖动快,文件小;误差扩散的渐变更细腻,编码约慢一倍</source>
        <translation>Ordered dithering is fast and keeps files small; error diffusion renders gradients more finely and takes about twice as long</translation>
    </message>
    <message>
        <source>抖动:</source>
        <translation>Dithering:</translation>
    </message>
    <message>
        <source>预设越快编码越快,同样画质下文件越大;ultrafast 跟得上变形的速度</source>
        <translation>Faster presets encode faster and make larger files for the same picture; ultrafast keeps up with the morph</translation>
    </message>
    <message>
        <source>编码预设:</source>
        <translation>Preset:</translation>
    </message>
    <message>
        <source> 帧</source>
        <translation> frames</translation>
    </message>
    <message>
        <source>每个画面(首帧、每个衔接处、末帧)多停留的帧数</source>
        <translation>More copies of each picture&apos;s frame (the first, each join, the last)</translation>
    </message>
    <message>
        <source>画面停留(&amp;H):</source>
        <translation>Hold at each picture (&amp;H):</translation>
    </message>
</context>
<context>
    <name>CFaceCommands</name>
    <message>
        <source>自动人脸特征线(&amp;F)	Ctrl+Shift+F</source>
        <translation>Automatic &amp;Face Lines	Ctrl+Shift+F</translation>
    </message>
    <message>
        <source>在两幅图像中各找出最大的一张人脸，按脸部轮廓、眉、眼、鼻、唇和图像边缘添加成对的特征线
自动人脸特征线</source>
        <translation>Find the largest face in each picture and add matching feature lines along the face outline, eyebrows, eyes, nose, lips and the picture edges
Automatic Face Lines</translation>
    </message>
    <message>
        <source>正在查找人脸… 按 Esc 取消</source>
        <translation>Looking for faces… Press Esc to cancel</translation>
    </message>
    <message>
        <source>已取消查找人脸</source>
        <translation>Face search cancelled</translation>
    </message>
</context>
<context>
    <name>CImageView</name>
    <message>
        <source>打开图像</source>
        <translation>Open Picture</translation>
    </message>
</context>
<context>
    <name>CInterfaceCommands</name>
    <message>
        <source>语言 / Language</source>
        <translation>Language / 语言</translation>
    </message>
    <message>
        <source>帮助(&amp;H)</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>用户手册(&amp;M)	F1</source>
        <translation>User &amp;Manual	F1</translation>
    </message>
    <message>
        <source>打开 Trevalin 用户手册
用户手册</source>
        <translation>Open the Trevalin user manual
User Manual</translation>
    </message>
    <message>
        <source>关于 Trevalin(&amp;A)...</source>
        <translation>&amp;About Trevalin...</translation>
    </message>
    <message>
        <source>关于</source>
        <translation>About</translation>
    </message>
    <message>
        <source>没有找到用户手册。</source>
        <translation>The user manual was not found.</translation>
    </message>
    <message>
        <source>无法打开用户手册 %1。</source>
        <translation>Could not open the user manual %1.</translation>
    </message>
    <message>
        <source>界面语言将在下次启动 Trevalin 时更改。</source>
        <translation>The interface language changes the next time Trevalin starts.</translation>
    </message>
</context>
<context>
    <name>CMainFrame</name>
    <message>
        <source>新建(&amp;N)	Ctrl+N</source>
        <translation>&amp;New	Ctrl+N</translation>
    </message>
    <message>
        <source>建立新文档
新建</source>
        <translation>Create a new project
New</translation>
    </message>
    <message>
        <source>打开(&amp;O)...	Ctrl+O</source>
        <translation>&amp;Open...	Ctrl+O</translation>
    </message>
    <message>
        <source>打开一个现有文档
打开</source>
        <translation>Open an existing project
Open</translation>
    </message>
    <message>
        <source>保存(&amp;S)	Ctrl+S</source>
        <translation>&amp;Save	Ctrl+S</translation>
    </message>
    <message>
        <source>保存活动文档
保存</source>
        <translation>Save the project
Save</translation>
    </message>
    <message>
        <source>剪切被选对象并将其置于剪贴板上
剪切</source>
        <translation>Cut the selection and put it on the clipboard
Cut</translation>
    </message>
    <message>
        <source>复制被选对象并将其置于剪贴板上
复制</source>
        <translation>Copy the selection and put it on the clipboard
Copy</translation>
    </message>
    <message>
        <source>插入剪贴板内容
粘贴</source>
        <translation>Insert the clipboard contents
Paste</translation>
    </message>
    <message>
        <source>打印功能尚未提供
打印</source>
        <translation>Printing is not available yet
Print</translation>
    </message>
    <message>
        <source>显示程序信息，版本号和版权
关于</source>
        <translation>Show program information, version number and copyright
About</translation>
    </message>
    <message>
        <source>用交叉溶解生成渐变序列(显示结果视图时可用)
交叉溶解</source>
        <translation>Make the morph sequence by cross-dissolve (available while the result view is shown)
Cross-Dissolve</translation>
    </message>
    <message>
        <source>沿特征线变形后交叉溶解生成渐变序列(显示结果视图时可用)
特征线变形</source>
        <translation>Make the morph sequence by warping along the feature lines, then cross-dissolving (available while the result view is shown)
Feature Morph</translation>
    </message>
    <message>
        <source>此按钮没有功能
无功能</source>
        <translation>This button has no function
No Function</translation>
    </message>
    <message>
        <source>画线工具：单击起点，移动，再单击终点，两幅图像中同时出现一对特征线
画线</source>
        <translation>Draw tool: click the start point, move, click the end point; a pair of feature lines appears in both pictures
Draw</translation>
    </message>
    <message>
        <source>选择工具：选中特征线的点或线段并拖动它
选择</source>
        <translation>Select tool: select a point or segment of a feature line and drag it
Select</translation>
    </message>
    <message>
        <source>并排显示源图像和目标图像
输入图像</source>
        <translation>Show the source and target pictures side by side
Input Pictures</translation>
    </message>
    <message>
        <source>显示渐变结果
结果</source>
        <translation>Show the morph result
Result</translation>
    </message>
    <message>
        <source>切换到下一个窗格
下一窗格</source>
        <translation>Switch to the next pane
Next Pane</translation>
    </message>
    <message>
        <source>切换回前一个窗格
前一窗格</source>
        <translation>Switch back to the previous pane
Previous Pane</translation>
    </message>
    <message>
        <source>文件(&amp;F)</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>另存为(&amp;A)...</source>
        <translation>Save &amp;As...</translation>
    </message>
    <message>
        <source>将活动文档以一个新文件名保存
另存为</source>
        <translation>Save the project under a new name
Save As</translation>
    </message>
    <message>
        <source>最近文件</source>
        <translation>Recent Files</translation>
    </message>
    <message>
        <source>打开该文档</source>
        <translation>Open this project</translation>
    </message>
    <message>
        <source>退出(&amp;X)</source>
        <translation>E&amp;xit</translation>
    </message>
    <message>
        <source>退出应用程序；提示保存文档
退出</source>
        <translation>Quit the application; asks to save the project
Exit</translation>
    </message>
    <message>
        <source>就绪</source>
        <translation>Ready</translation>
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
        <source>导出(&amp;E)...	Ctrl+E</source>
        <translation>&amp;Export...	Ctrl+E</translation>
    </message>
    <message>
        <source>将变形序列导出为帧文件和视频
导出</source>
        <translation>Export the morph sequence as frame files and a video
Export</translation>
    </message>
    <message>
        <source>导出序列(&amp;Q)...</source>
        <translation>Export Se&amp;quence...</translation>
    </message>
    <message>
        <source>把几个项目的变形依次连成一个视频导出
导出序列</source>
        <translation>Export the morphs of several projects one after another as one video
Export Sequence</translation>
    </message>
</context>
<context>
    <name>CManualWindow</name>
    <message>
        <source>Trevalin 用户手册</source>
        <translation>Trevalin User Manual</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Close</translation>
    </message>
</context>
<context>
    <name>CMorphConfigDlg</name>
    <message>
        <source>中间步数：</source>
        <translation>Steps:</translation>
    </message>
    <message>
        <source>速度：</source>
        <translation>Speed:</translation>
    </message>
    <message>
        <source>快</source>
        <translation>Fast</translation>
    </message>
    <message>
        <source>中</source>
        <translation>Medium</translation>
    </message>
    <message>
        <source>慢</source>
        <translation>Slow</translation>
    </message>
    <message>
        <source>开始</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>暂停</source>
        <translation>Pause</translation>
    </message>
    <message>
        <source>停止</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>请键入一个整数。</source>
        <translation>Please enter an integer.</translation>
    </message>
    <message>
        <source>“请填入一个在%1和%2之间的整数。”</source>
        <translation>“Please enter an integer between %1 and %2.”</translation>
    </message>
</context>
<context>
    <name>CMorphOptionsCommands</name>
    <message>
        <source>变形(&amp;M)</source>
        <translation>&amp;Morph</translation>
    </message>
    <message>
        <source>仅变形(&amp;W)</source>
        <translation>&amp;Warp Only</translation>
    </message>
    <message>
        <source>只把源图像变形到中间特征线的位置，不与目标图像溶解
仅变形</source>
        <translation>Only warp the source picture to the in-between feature lines, without dissolving into the target picture
Warp Only</translation>
    </message>
    <message>
        <source>延伸边缘(&amp;X)</source>
        <translation>E&amp;xtend Edges</translation>
    </message>
    <message>
        <source>落在图像以外的点取最近的边缘像素；不选时为黑色
延伸边缘</source>
        <translation>Points that fall outside the picture take the nearest edge pixel; unchecked, they are black
Extend Edges</translation>
    </message>
    <message>
        <source>经典(&amp;C)</source>
        <translation>&amp;Classic</translation>
    </message>
    <message>
        <source>逐像素取最近点，与以往的结果完全相同
经典质量</source>
        <translation>Nearest whole pixels, exactly the frames of earlier versions
Classic Quality</translation>
    </message>
    <message>
        <source>平滑(&amp;M)</source>
        <translation>S&amp;mooth</translation>
    </message>
    <message>
        <source>亚像素变形，双线性取样，边缘没有锯齿；第一帧和最后一帧就是两幅图像
平滑质量</source>
        <translation>Sub-pixel warp with bilinear samples, no stair-steps; the first and last frames are the two pictures
Smooth Quality</translation>
    </message>
    <message>
        <source>质量(&amp;Q)</source>
        <translation>&amp;Quality</translation>
    </message>
</context>
<context>
    <name>CPaneScrollSync</name>
    <message>
        <source>同步滚动(&amp;L)</source>
        <translation>Scroll &amp;Linked</translation>
    </message>
    <message>
        <source>滚动一个窗格时另一个窗格随之滚动到图像的同一位置
同步滚动</source>
        <translation>Scrolling one pane scrolls the other to the same place in its picture
Scroll Linked</translation>
    </message>
</context>
<context>
    <name>CPicturePainter</name>
    <message>
        <source>找不到图片 %1</source>
        <translation>Picture %1 not found</translation>
    </message>
</context>
<context>
    <name>CPreviewCommands</name>
    <message>
        <source>预览(&amp;P)</source>
        <translation>&amp;Preview</translation>
    </message>
    <message>
        <source>显示或隐藏预览窗口
预览</source>
        <translation>Show or hide the preview panel
Preview</translation>
    </message>
    <message>
        <source>洋葱皮(&amp;K)</source>
        <translation>Onion S&amp;kin</translation>
    </message>
    <message>
        <source>在每个窗格中以 50% 透明度显示另一幅图像，便于对齐特征线
洋葱皮</source>
        <translation>Show the other pane&apos;s picture at 50% in each pane, for placing line pairs
Onion Skin</translation>
    </message>
</context>
<context>
    <name>CPreviewDock</name>
    <message>
        <source>预览</source>
        <translation>Preview</translation>
    </message>
    <message>
        <source>帧 %1 / %2</source>
        <translation>Frame %1 / %2</translation>
    </message>
    <message>
        <source>预览：需要两幅大小一致的图像</source>
        <translation>Preview: needs two pictures of the same size</translation>
    </message>
    <message>
        <source>预览(半分辨率)</source>
        <translation>Preview (half resolution)</translation>
    </message>
    <message>
        <source>预览(精确)</source>
        <translation>Preview (exact)</translation>
    </message>
    <message>
        <source>步数应在 1 到 100 之间，预览仍按 %1 步</source>
        <translation>Steps must be from 1 to 100; the preview still uses %1 steps</translation>
    </message>
    <message>
        <source>实际大小(100%)</source>
        <translation>Actual Size (100%)</translation>
    </message>
    <message>
        <source>按实际大小显示预览帧；不选时显示整帧</source>
        <translation>Shows the preview frame at its actual size; otherwise the whole frame</translation>
    </message>
    <message>
        <source>预览：正在计算…</source>
        <translation>Preview: computing…</translation>
    </message>
</context>
<context>
    <name>CProjectReader</name>
    <message>
        <source>正在打开 %1……</source>
        <translation>Opening %1...</translation>
    </message>
</context>
<context>
    <name>CRunProgress</name>
    <message>
        <source>帧 %1 / %2</source>
        <translation>Frame %1 / %2</translation>
    </message>
</context>
<context>
    <name>CSequenceDlg</name>
    <message>
        <source>导出序列</source>
        <translation>Export Sequence</translation>
    </message>
    <message>
        <source>按顺序列出要连接的项目,每个变形接着上一个:</source>
        <translation>The projects to join, in order; each morph follows the one before:</translation>
    </message>
    <message>
        <source>%1 (当前项目)</source>
        <translation>%1 (open project)</translation>
    </message>
    <message>
        <source>添加(&amp;A)...</source>
        <translation>&amp;Add...</translation>
    </message>
    <message>
        <source>移除(&amp;R)</source>
        <translation>&amp;Remove</translation>
    </message>
    <message>
        <source>上移(&amp;U)</source>
        <translation>Move &amp;Up</translation>
    </message>
    <message>
        <source>下移(&amp;D)</source>
        <translation>Move &amp;Down</translation>
    </message>
    <message>
        <source>下一步(&amp;N)</source>
        <translation>&amp;Next</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>tvl 文件(*.tvl) (*.tvl)</source>
        <translation>tvl files (*.tvl) (*.tvl)</translation>
    </message>
    <message>
        <source>大小不同的图像:</source>
        <translation>Pictures of another size:</translation>
    </message>
    <message>
        <source>缩放并留边</source>
        <translation>Scale and pad</translation>
    </message>
    <message>
        <source>缩放并裁剪</source>
        <translation>Scale and crop</translation>
    </message>
    <message>
        <source>拉伸</source>
        <translation>Stretch</translation>
    </message>
    <message>
        <source>其他项目的图像与第一个项目的源图像大小不同时,这样调整到它的大小。</source>
        <translation>How pictures whose size differs from the first project&apos;s source picture are brought to its size.</translation>
    </message>
</context>
<context>
    <name>CTrevalinView</name>
    <message>
        <source>源图像 %1 × %2，目标图像 %3 × %4</source>
        <translation>Source picture %1 × %2, target picture %3 × %4</translation>
    </message>
    <message>
        <source>渐变序列存成视频文件:trv.avi</source>
        <translation>The morph sequence was saved as the video file: trv.avi</translation>
    </message>
    <message>
        <source>另一个渐变正在使用文件夹 %1 的输出,请等它结束后再开始。</source>
        <translation>Another morph is using the outputs of the folder %1. Please wait until it ends before starting.</translation>
    </message>
</context>
<context>
    <name>CUndoStepTexts</name>
    <message>
        <source>画线</source>
        <translation>Draw Line</translation>
    </message>
    <message>
        <source>移动</source>
        <translation>Move</translation>
    </message>
    <message>
        <source>删除</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>打开图像</source>
        <translation>Open Picture</translation>
    </message>
    <message>
        <source>适合图像大小</source>
        <translation>Fit Picture Size</translation>
    </message>
    <message>
        <source>自动人脸特征线</source>
        <translation>Automatic Face Lines</translation>
    </message>
</context>
<context>
    <name>CoreText</name>
    <message>
        <source>无标题</source>
        <translation>Untitled</translation>
    </message>
    <message>
        <source>没有找到 %1。</source>
        <translation>%1 was not found.</translation>
    </message>
    <message>
        <source>打开文档失败。</source>
        <translation>Failed to open the document.</translation>
    </message>
    <message>
        <source>非预期的文件格式。</source>
        <translation>Unexpected file format.</translation>
    </message>
    <message>
        <source>保存文档失败。</source>
        <translation>Failed to save the document.</translation>
    </message>
    <message>
        <source>磁盘空间不足。</source>
        <translation>The disk is full.</translation>
    </message>
    <message>
        <source>文件过大。</source>
        <translation>The file is too large.</translation>
    </message>
    <message>
        <source>没有访问权限。</source>
        <translation>Permission denied.</translation>
    </message>
    <message>
        <source>磁盘是只读的。</source>
        <translation>The disk is read-only.</translation>
    </message>
    <message>
        <source>文件或文件夹不存在。</source>
        <translation>No such file or folder.</translation>
    </message>
    <message>
        <source>这是一个文件夹。</source>
        <translation>This is a folder.</translation>
    </message>
    <message>
        <source>不是普通文件。</source>
        <translation>Not a regular file.</translation>
    </message>
    <message>
        <source>文件名过长。</source>
        <translation>The file name is too long.</translation>
    </message>
    <message>
        <source>内存不足。</source>
        <translation>Out of memory.</translation>
    </message>
    <message>
        <source>符号链接过多。</source>
        <translation>Too many symbolic links.</translation>
    </message>
    <message>
        <source>没有可用的图片解码器。</source>
        <translation>No picture decoder is available.</translation>
    </message>
    <message>
        <source>无法识别的图片格式。</source>
        <translation>Unrecognised picture format.</translation>
    </message>
    <message>
        <source>图片解码结果无效。</source>
        <translation>The decoded picture is invalid.</translation>
    </message>
    <message>
        <source>内存不足,无法载入图片。</source>
        <translation>Not enough memory to load the picture.</translation>
    </message>
    <message>
        <source>无法打开图片文件 %1:%2</source>
        <translation>Could not open the picture file %1: %2</translation>
    </message>
    <message>
        <source>无法载入图片 %1:%2</source>
        <translation>Could not load the picture %1: %2</translation>
    </message>
    <message>
        <source>编码器</source>
        <translation>the encoder</translation>
    </message>
    <message>
        <source>封装格式</source>
        <translation>the muxer</translation>
    </message>
    <message>
        <source>滤镜</source>
        <translation>the filter</translation>
    </message>
    <message>
        <source>%1 视频的宽和高必须是偶数:%2。</source>
        <translation>The width and height of a %1 video must be even: %2.</translation>
    </message>
    <message>
        <source>输出的宽和高必须在 1 到 %1 像素之间:%2。</source>
        <translation>The output width and height must be between 1 and %1 pixels: %2.</translation>
    </message>
    <message>
        <source>帧率必须在 %1 到 %2 之间:%3。</source>
        <translation>The frame rate must be between %1 and %2: %3.</translation>
    </message>
    <message>
        <source>质量必须在 0 到 100 之间:%1。</source>
        <translation>The quality must be between 0 and 100: %1.</translation>
    </message>
    <message>
        <source>这个 FFmpeg 不能写 %1:缺少%2 %3。</source>
        <translation>This FFmpeg cannot write %1: %2 %3 is missing.</translation>
    </message>
    <message>
        <source>文件夹不存在:%1。</source>
        <translation>The folder does not exist: %1.</translation>
    </message>
    <message>
        <source>不是文件夹:%1。</source>
        <translation>Not a folder: %1.</translation>
    </message>
    <message>
        <source>无法在文件夹 %1 中写入文件:%2</source>
        <translation>Cannot write files in the folder %1: %2</translation>
    </message>
    <message>
        <source>无效的文件名:%1。</source>
        <translation>Invalid file name: %1.</translation>
    </message>
    <message>
        <source>无法写入 %1:%2 编码失败(%3)。</source>
        <translation>Cannot write %1: %2 encoding failed (%3).</translation>
    </message>
    <message>
        <source>无法写入 %1:%2</source>
        <translation>Cannot write %1: %2</translation>
    </message>
    <message>
        <source>无效的帧:%1 像素,每行 %2 字节。</source>
        <translation>Invalid frame: %1 pixels, %2 bytes per row.</translation>
    </message>
    <message>
        <source>没有帧可写入 %1。</source>
        <translation>No frames to write to %1.</translation>
    </message>
    <message>
        <source>中间步数必须在 1 到 100 之间:%1。</source>
        <translation>The number of steps must be between 1 and 100: %1.</translation>
    </message>
    <message>
        <source>帧的范围必须在 0 到 %1 之间,且起始帧不大于结束帧:%2-%3。</source>
        <translation>The frame range must lie between 0 and %1, with the first frame not after the last: %2-%3.</translation>
    </message>
    <message>
        <source>首尾帧的停留时间必须在 0 到 60 秒之间:%1。</source>
        <translation>The hold time of the first and last frames must be between 0 and 60 seconds: %1.</translation>
    </message>
    <message>
        <source>不支持的输出格式。</source>
        <translation>Unsupported output format.</translation>
    </message>
    <message>
        <source>没有指定输出文件夹。</source>
        <translation>No output folder was given.</translation>
    </message>
    <message>
        <source>文件名不能为空。</source>
        <translation>The file name must not be empty.</translation>
    </message>
    <message>
        <source>没有要导出的内容:帧文件和视频都选了“无”。</source>
        <translation>Nothing to export: both frame files and video are set to “None”.</translation>
    </message>
    <message>
        <source>导出失败:%1</source>
        <translation>Export failed: %1</translation>
    </message>
    <message>
        <source>已写入 1 个帧文件:%1</source>
        <translation>Wrote 1 frame file: %1</translation>
    </message>
    <message>
        <source>已写入 %1 个帧文件:%2 … %3</source>
        <translation>Wrote %1 frame files: %2 … %3</translation>
    </message>
    <message>
        <source>已写入视频:%1(%2 帧,%3 x %4,%5 帧/秒)</source>
        <translation>Wrote the video: %1 (%2 frames, %3 x %4, %5 fps)</translation>
    </message>
    <message>
        <source>导出完成。</source>
        <translation>Export finished.</translation>
    </message>
    <message>
        <source>导出已取消。</source>
        <translation>Export cancelled.</translation>
    </message>
    <message>
        <source>没有写入任何文件。</source>
        <translation>No file was written.</translation>
    </message>
    <message>
        <source>视频没有写入。</source>
        <translation>The video was not written.</translation>
    </message>
    <message>
        <source>不一致的图片大小或颜色格式!</source>
        <translation>The pictures differ in size or colour format!</translation>
    </message>
    <message>
        <source>GIF 动画</source>
        <translation>Animated GIF</translation>
    </message>
    <message>
        <source>图片过大(%1 x %2 像素);最大支持 %3 x %4 像素,共 %5 兆像素。</source>
        <translation>The picture is too large (%1 x %2 pixels); at most %3 x %4 pixels and %5 megapixels in all are supported.</translation>
    </message>
    <message>
        <source>不支持的图片格式(%1)。</source>
        <translation>Unsupported picture format (%1).</translation>
    </message>
    <message>
        <source>图片文件已损坏或无法解码(%1)。</source>
        <translation>The picture file is damaged or cannot be decoded (%1).</translation>
    </message>
    <message>
        <source>图片文件是空的。</source>
        <translation>The picture file is empty.</translation>
    </message>
    <message>
        <source>图片文件不完整:缺少部分像素数据。</source>
        <translation>The picture file is incomplete: some pixel data is missing.</translation>
    </message>
    <message>
        <source>文件超过了项目文件 256 MB 的上限。</source>
        <translation>The file is larger than the project file limit of 256 MB.</translation>
    </message>
    <message>
        <source>%1有 %2 条特征线,超过了每幅图像 500000 条的上限。</source>
        <translation>%1 has %2 feature lines, more than the limit of 500000 per picture.</translation>
    </message>
    <message>
        <source>%1的特征线共有 %2 个以上的点,超过了每幅图像 1000000 个的上限。</source>
        <translation>%1 has more than %2 points on its feature lines, more than the limit of 1000000 per picture.</translation>
    </message>
    <message>
        <source>源图像</source>
        <translation>The source picture</translation>
    </message>
    <message>
        <source>目标图像</source>
        <translation>The target picture</translation>
    </message>
    <message>
        <source>项目已打开,但下列图片没有载入:</source>
        <translation>The project was opened, but these pictures were not loaded:</translation>
    </message>
    <message>
        <source>找不到源图片 %1。</source>
        <translation>The source picture %1 cannot be found.</translation>
    </message>
    <message>
        <source>找不到目标图片 %1。</source>
        <translation>The target picture %1 cannot be found.</translation>
    </message>
    <message>
        <source>还没有打开源图片。</source>
        <translation>No source picture has been opened yet.</translation>
    </message>
    <message>
        <source>还没有打开目标图片。</source>
        <translation>No target picture has been opened yet.</translation>
    </message>
    <message>
        <source>找不到导出组件 libtrevalin_export.so:%1</source>
        <translation>The export component libtrevalin_export.so cannot be found: %1</translation>
    </message>
    <message>
        <source>%1原来的文件没有改动。</source>
        <translation>%1 The existing file was left unchanged.</translation>
    </message>
    <message>
        <source>还没有特征线:请画特征线，或选择交叉溶解</source>
        <translation>No feature lines yet: draw feature lines, or choose Cross-Dissolve</translation>
    </message>
    <message>
        <source>没有写入视频文件:%1</source>
        <translation>No video file was written: %1</translation>
    </message>
    <message>
        <source>没有写入视频文件(已取消选择压缩方式)</source>
        <translation>No video file was written (the choice of compression was cancelled)</translation>
    </message>
    <message>
        <source>还没有生成任何一帧。</source>
        <translation>No frame has been made yet.</translation>
    </message>
    <message>
        <source>视频文件没有写完整:%1</source>
        <translation>The video file is incomplete: %1</translation>
    </message>
    <message>
        <source>图片文件不完整:文件头声称 %1 x %2 像素,%3 字节的文件装不下这么多像素。</source>
        <translation>The picture file is incomplete: its header claims %1 x %2 pixels, more than a file of %3 bytes can hold.</translation>
    </message>
    <message>
        <source>项目中的字符串长度超过了 %1 字节的上限。</source>
        <translation>A text in the project is longer than the limit of %1 bytes.</translation>
    </message>
    <message>
        <source>项目中的图片名超过了路径 %1 字节的上限。</source>
        <translation>A picture name in the project is longer than a path&apos;s limit of %1 bytes.</translation>
    </message>
    <message>
        <source>项目中的图片文件名 %1 超过了文件名 %2 字节的上限。</source>
        <translation>The picture file name %1 in the project is longer than a file name&apos;s limit of %2 bytes.</translation>
    </message>
    <message>
        <source>另一个渐变或导出正在写入文件夹 %1,请等它结束后再导出。</source>
        <translation>Another run or export is writing to the folder %1; export when it has finished.</translation>
    </message>
    <message>
        <source>每段变形的帧数必须在 2 到 10000 之间,整个序列不超过 1000000 帧:%1。</source>
        <translation>Each morph must have 2 to 10000 frames, a whole sequence at most 1000000: %1.</translation>
    </message>
    <message>
        <source>选项文件 %1 中有看不懂的内容,这些选项按默认值处理:%2</source>
        <translation>The options file %1 holds what the program does not understand; those options keep their defaults: %2</translation>
    </message>
    <message>
        <source>选项文件 %1 不是普通文件,没有读取,选项按默认值处理。</source>
        <translation>The options file %1 is not a plain file: not read, the options keep their defaults.</translation>
    </message>
    <message>
        <source>选项文件 %1 超过 %2 字节,没有读取,选项按默认值处理。</source>
        <translation>The options file %1 is larger than %2 bytes: not read, the options keep their defaults.</translation>
    </message>
    <message>
        <source>无法读取选项文件 %1:%2</source>
        <translation>Cannot read the options file %1: %2</translation>
    </message>
    <message>
        <source>内存不足,无法生成第 %1 帧。</source>
        <translation>Not enough memory to make frame %1.</translation>
    </message>
    <message>
        <source>%1尚未打开。</source>
        <translation>%1 is not open.</translation>
    </message>
    <message>
        <source>%1中找不到人脸,特征线未作改动。</source>
        <translation>%1 shows no face; the feature lines are unchanged.</translation>
    </message>
    <message>
        <source>%1中有 %2 张人脸,已取最大的一张。</source>
        <translation>%1 shows %2 faces; the largest was used.</translation>
    </message>
    <message>
        <source>找不到人脸特征点模型 %1,请安装 libdlib-data 软件包。</source>
        <translation>The face landmark model %1 was not found; please install the libdlib-data package.</translation>
    </message>
    <message>
        <source>无法读取人脸特征点模型 %1:%2</source>
        <translation>Cannot read the face landmark model %1: %2</translation>
    </message>
    <message>
        <source>找不到人脸组件 libtrevalin_faces.so:%1</source>
        <translation>The face component libtrevalin_faces.so was not found: %1</translation>
    </message>
    <message>
        <source>已添加 %1 对人脸特征线。</source>
        <translation>Added %1 face line pairs.</translation>
    </message>
</context>
</TS>
