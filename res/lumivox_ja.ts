<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja_JP">
<context>
    <name>lumivox::AboutBox</name>
    <message>
        <source>About lumivox</source>
        <translation>lumivox のバージョン情報</translation>
    </message>
    <message>
        <source>lumivox Version %1</source>
        <translation>lumivox バージョン %1</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>lumivox::CDlgFilterList</name>
    <message>
        <source>DirectShow Filters</source>
        <translation>DirectShow フィルタ</translation>
    </message>
    <message>
        <source>&amp;Filters in use: </source>
        <translation>使用中のフィルタ(&amp;F): </translation>
    </message>
    <message>
        <source>&amp;Properties...</source>
        <translation>プロパティ(&amp;P)...</translation>
    </message>
    <message>
        <source>&amp;Refresh</source>
        <translation>最新の情報に更新(&amp;R)</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>閉じる(&amp;C)</translation>
    </message>
    <message>
        <source>Filter is not found</source>
        <translation>フィルタが見つかりません</translation>
    </message>
    <message>
        <source>Properties does not exist for the specified filter</source>
        <translation>指定されたフィルタにはプロパティがありません</translation>
    </message>
</context>
<context>
    <name>lumivox::CKeyCaptureDlg</name>
    <message>
        <source>Press the key(s) to assign...</source>
        <translation>割り当てるキーを押してください...</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>キャンセル</translation>
    </message>
</context>
<context>
    <name>lumivox::CMainFrame</name>
    <message>
        <source>Properties</source>
        <translation>プロパティ</translation>
    </message>
</context>
<context>
    <name>lumivox::CPageColorCfg</name>
    <message>
        <source>Player Color Settings</source>
        <translation>プレーヤーの色の設定</translation>
    </message>
    <message>
        <source>Background:</source>
        <translation>背景:</translation>
    </message>
    <message>
        <source>Change(&amp;B)...</source>
        <translation>変更(&amp;B)...</translation>
    </message>
    <message>
        <source>Text:</source>
        <translation>文字:</translation>
    </message>
    <message>
        <source>Change(&amp;T)...</source>
        <translation>変更(&amp;T)...</translation>
    </message>
    <message>
        <source>Splitter: </source>
        <translation>分割バー: </translation>
    </message>
    <message>
        <source>Change(&amp;S)...</source>
        <translation>変更(&amp;S)...</translation>
    </message>
    <message>
        <source>Current File:</source>
        <translation>再生中のファイル:</translation>
    </message>
    <message>
        <source>Change(&amp;C)...</source>
        <translation>変更(&amp;C)...</translation>
    </message>
    <message>
        <source>Unsupported File:</source>
        <translation>再生できないファイル:</translation>
    </message>
    <message>
        <source>Change(&amp;U)...</source>
        <translation>変更(&amp;U)...</translation>
    </message>
    <message>
        <source>&amp;Default</source>
        <translation>既定値(&amp;D)</translation>
    </message>
    <message>
        <source>Color</source>
        <translation>色</translation>
    </message>
</context>
<context>
    <name>lumivox::CPageGeneralCfg</name>
    <message>
        <source>Playlist</source>
        <translation>プレイリスト</translation>
    </message>
    <message>
        <source>&amp;Read previous list during startup</source>
        <translation>起動時に前回のリストを読み込む(&amp;R)</translation>
    </message>
    <message>
        <source>&amp;Do not add the file already registered to the list</source>
        <translation>リストに登録済みのファイルは追加しない(&amp;D)</translation>
    </message>
    <message>
        <source>Window</source>
        <translation>ウィンドウ</translation>
    </message>
    <message>
        <source>Show Tray Icon when window is minimized</source>
        <translation>最小化したときにトレイアイコンを表示する</translation>
    </message>
    <message>
        <source>Decoder</source>
        <translation>デコーダ</translation>
    </message>
    <message>
        <source>Use Halcyon MPEG decoder</source>
        <translation>Halcyon MPEG デコーダを使用する</translation>
    </message>
    <message>
        <source>Standard</source>
        <translation>標準</translation>
    </message>
</context>
<context>
    <name>lumivox::CPageKeyCfg</name>
    <message>
        <source>Operation</source>
        <translation>操作</translation>
    </message>
    <message>
        <source>Key Assignment</source>
        <translation>キーの割り当て</translation>
    </message>
    <message>
        <source>&amp;Assignment...</source>
        <translation>割り当て(&amp;A)...</translation>
    </message>
    <message>
        <source>&amp;Default</source>
        <translation>既定値(&amp;D)</translation>
    </message>
    <message>
        <source>&amp;All Default</source>
        <translation>すべて既定値(&amp;A)</translation>
    </message>
    <message>
        <source>Key assignment</source>
        <translation>キー割り当て</translation>
    </message>
</context>
<context>
    <name>lumivox::CPageVolumeCfg</name>
    <message>
        <source>Set volume to</source>
        <translation>音量の設定先</translation>
    </message>
    <message>
        <source>&amp;DirectShow</source>
        <translation>&amp;DirectShow</translation>
    </message>
    <message>
        <source>&amp;Mixer Device</source>
        <translation>ミキサー デバイス(&amp;M)</translation>
    </message>
    <message>
        <source>Waveout Device</source>
        <translation>Waveout デバイス</translation>
    </message>
    <message>
        <source>&amp;Restore volume when exit</source>
        <translation>終了時に音量を元に戻す(&amp;R)</translation>
    </message>
    <message>
        <source>Volume</source>
        <translation>音量</translation>
    </message>
</context>
<context>
    <name>lumivox::CPlayerApp</name>
    <message>
        <source>Failed to open document.</source>
        <translation>ドキュメントを開けませんでした。</translation>
    </message>
</context>
<context>
    <name>lumivox::CSheetFileProp</name>
    <message>
        <source>bytes</source>
        <translation>バイト</translation>
    </message>
    <message>
        <source>File information</source>
        <translation>ファイル情報</translation>
    </message>
    <message>
        <source>This file cannot be played.</source>
        <translation>このファイルは再生できません。</translation>
    </message>
    <message>
        <source>GB</source>
        <translation>GB</translation>
    </message>
    <message>
        <source>MB</source>
        <translation>MB</translation>
    </message>
    <message>
        <source>KB</source>
        <translation>KB</translation>
    </message>
    <message>
        <source>Location: </source>
        <translation>場所: </translation>
    </message>
    <message>
        <source>Size: </source>
        <translation>サイズ: </translation>
    </message>
    <message>
        <source>Modified: </source>
        <translation>更新日時: </translation>
    </message>
    <message>
        <source>Duration: </source>
        <translation>再生時間: </translation>
    </message>
    <message>
        <source>Video Size: </source>
        <translation>ビデオ サイズ: </translation>
    </message>
</context>
<context>
    <name>lumivox::CSheetOption</name>
    <message>
        <source>Options</source>
        <translation>オプション</translation>
    </message>
</context>
<context>
    <name>lumivox::CommandTable</name>
    <message>
        <source>1 sec(&amp;A)</source>
        <translation>1 秒(&amp;A)</translation>
    </message>
    <message>
        <source>5 sec(&amp;B)</source>
        <translation>5 秒(&amp;B)</translation>
    </message>
    <message>
        <source>10 sec(&amp;C)</source>
        <translation>10 秒(&amp;C)</translation>
    </message>
    <message>
        <source>15 sec(&amp;D)</source>
        <translation>15 秒(&amp;D)</translation>
    </message>
    <message>
        <source>30 sec(&amp;E)</source>
        <translation>30 秒(&amp;E)</translation>
    </message>
    <message>
        <source>45 sec(&amp;F)</source>
        <translation>45 秒(&amp;F)</translation>
    </message>
    <message>
        <source>60 sec(&amp;G)</source>
        <translation>60 秒(&amp;G)</translation>
    </message>
    <message>
        <source>90 sec(&amp;H)</source>
        <translation>90 秒(&amp;H)</translation>
    </message>
    <message>
        <source>120 sec(&amp;I)</source>
        <translation>120 秒(&amp;I)</translation>
    </message>
    <message>
        <source>&amp;Play / Pause</source>
        <translation>再生 / 一時停止(&amp;P)</translation>
    </message>
    <message>
        <source>&amp;Stop</source>
        <translation>停止(&amp;S)</translation>
    </message>
    <message>
        <source>&amp;Previous Track</source>
        <translation>前のトラック(&amp;P)</translation>
    </message>
    <message>
        <source>&amp;Next Track</source>
        <translation>次のトラック(&amp;N)</translation>
    </message>
    <message>
        <source>&amp;Rewind</source>
        <translation>巻き戻し(&amp;R)</translation>
    </message>
    <message>
        <source>&amp;Fast Forward</source>
        <translation>早送り(&amp;F)</translation>
    </message>
    <message>
        <source>Skip &amp;Interval</source>
        <translation>スキップ間隔(&amp;I)</translation>
    </message>
    <message>
        <source>&amp;Not Fixed</source>
        <translation>固定しない(&amp;N)</translation>
    </message>
    <message>
        <source>&amp;Source Size</source>
        <translation>元のサイズ(&amp;S)</translation>
    </message>
    <message>
        <source>&amp;4 : 3</source>
        <translation>&amp;4 : 3</translation>
    </message>
    <message>
        <source>&amp;0.5x</source>
        <translation>&amp;0.5 倍</translation>
    </message>
    <message>
        <source>&amp;1x</source>
        <translation>&amp;1 倍</translation>
    </message>
    <message>
        <source>&amp;2x</source>
        <translation>&amp;2 倍</translation>
    </message>
    <message>
        <source>&amp;3x</source>
        <translation>&amp;3 倍</translation>
    </message>
    <message>
        <source>&amp;Open...</source>
        <translation>開く(&amp;O)...</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>開く</translation>
    </message>
    <message>
        <source>Open Play&amp;list...</source>
        <translation>プレイリストを開く(&amp;L)...</translation>
    </message>
    <message>
        <source>Open Playlist</source>
        <translation>プレイリストを開く</translation>
    </message>
    <message>
        <source>&amp;Save Playlist...</source>
        <translation>プレイリストを保存(&amp;S)...</translation>
    </message>
    <message>
        <source>Save Playlist</source>
        <translation>プレイリストを保存</translation>
    </message>
    <message>
        <source>&amp;Properties...</source>
        <translation>プロパティ(&amp;P)...</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>終了(&amp;X)</translation>
    </message>
    <message>
        <source>Quits the application and prompts to save documents</source>
        <translation>アプリケーションを終了します</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>終了</translation>
    </message>
    <message>
        <source>&amp;Add...</source>
        <translation>追加(&amp;A)...</translation>
    </message>
    <message>
        <source>Add</source>
        <translation>追加</translation>
    </message>
    <message>
        <source>&amp;Find and Add File...</source>
        <translation>ファイルを検索して追加(&amp;F)...</translation>
    </message>
    <message>
        <source>Find and Add File</source>
        <translation>ファイルを検索して追加</translation>
    </message>
    <message>
        <source>Find</source>
        <translation>検索</translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation>削除(&amp;D)</translation>
    </message>
    <message>
        <source>Move &amp;Up</source>
        <translation>上へ移動(&amp;U)</translation>
    </message>
    <message>
        <source>Move &amp;Down</source>
        <translation>下へ移動(&amp;D)</translation>
    </message>
    <message>
        <source>Delete A&amp;ll</source>
        <translation>すべて削除(&amp;L)</translation>
    </message>
    <message>
        <source>&amp;Play</source>
        <translation>再生(&amp;P)</translation>
    </message>
    <message>
        <source>Play / Pause</source>
        <translation>再生 / 一時停止</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>停止</translation>
    </message>
    <message>
        <source>Play</source>
        <translation>再生</translation>
    </message>
    <message>
        <source>Pause</source>
        <translation>一時停止</translation>
    </message>
    <message>
        <source>Previous Track</source>
        <translation>前のトラック</translation>
    </message>
    <message>
        <source>Next Track</source>
        <translation>次のトラック</translation>
    </message>
    <message>
        <source>Rewind</source>
        <translation>巻き戻し</translation>
    </message>
    <message>
        <source>Fast Forward</source>
        <translation>早送り</translation>
    </message>
    <message>
        <source>&amp;No Repeat</source>
        <translation>リピートしない(&amp;N)</translation>
    </message>
    <message>
        <source>&amp;Repeat All</source>
        <translation>全曲リピート(&amp;R)</translation>
    </message>
    <message>
        <source>Repeat &amp;1 File</source>
        <translation>1 曲リピート(&amp;1)</translation>
    </message>
    <message>
        <source>&amp;Shuffle</source>
        <translation>シャッフル(&amp;S)</translation>
    </message>
    <message>
        <source>&amp;Up</source>
        <translation>上げる(&amp;U)</translation>
    </message>
    <message>
        <source>Volume Up</source>
        <translation>音量を上げる</translation>
    </message>
    <message>
        <source>&amp;Down</source>
        <translation>下げる(&amp;D)</translation>
    </message>
    <message>
        <source>Volume Down</source>
        <translation>音量を下げる</translation>
    </message>
    <message>
        <source>&amp;Toolbar</source>
        <translation>ツール バー(&amp;T)</translation>
    </message>
    <message>
        <source>Shows or Hides the Toolbar</source>
        <translation>ツール バーの表示/非表示を切り替えます</translation>
    </message>
    <message>
        <source>Toolbar</source>
        <translation>ツール バー</translation>
    </message>
    <message>
        <source>&amp;Seekbar</source>
        <translation>シーク バー(&amp;S)</translation>
    </message>
    <message>
        <source>&amp;Playlist and Video</source>
        <translation>プレイリストとビデオ(&amp;P)</translation>
    </message>
    <message>
        <source>Play&amp;list</source>
        <translation>プレイリスト(&amp;L)</translation>
    </message>
    <message>
        <source>&amp;Video</source>
        <translation>ビデオ(&amp;V)</translation>
    </message>
    <message>
        <source>&amp;View Mode</source>
        <translation>表示モード(&amp;V)</translation>
    </message>
    <message>
        <source>Change View Mode</source>
        <translation>表示モードの切り替え</translation>
    </message>
    <message>
        <source>&amp;16 : 9</source>
        <translation>&amp;16 : 9</translation>
    </message>
    <message>
        <source>&amp;Aspect Ratio</source>
        <translation>縦横比(&amp;A)</translation>
    </message>
    <message>
        <source>Change Aspect Ratio</source>
        <translation>縦横比の切り替え</translation>
    </message>
    <message>
        <source>&amp;Video Scale</source>
        <translation>ビデオの倍率(&amp;V)</translation>
    </message>
    <message>
        <source>Change Video Scale</source>
        <translation>ビデオの倍率の切り替え</translation>
    </message>
    <message>
        <source>Always &amp;On Top</source>
        <translation>常に手前に表示(&amp;O)</translation>
    </message>
    <message>
        <source>&amp;Fullscreen</source>
        <translation>全画面表示(&amp;F)</translation>
    </message>
    <message>
        <source>Fullscreen</source>
        <translation>全画面表示</translation>
    </message>
    <message>
        <source>&amp;Restore</source>
        <translation>元に戻す(&amp;R)</translation>
    </message>
    <message>
        <source>&amp;Volume Control</source>
        <translation>ボリューム コントロール(&amp;V)</translation>
    </message>
    <message>
        <source>&amp;Use LumivaultHD</source>
        <translation>LumivaultHD を使用する(&amp;U)</translation>
    </message>
    <message>
        <source>&amp;DirectShow Filters...</source>
        <translation>DirectShow フィルタ(&amp;D)...</translation>
    </message>
    <message>
        <source>&amp;Options</source>
        <translation>オプション(&amp;O)</translation>
    </message>
    <message>
        <source>About...</source>
        <translation>バージョン情報...</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>ファイル(&amp;F)</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>編集(&amp;E)</translation>
    </message>
    <message>
        <source>&amp;Playback</source>
        <translation>再生(&amp;P)</translation>
    </message>
    <message>
        <source>&amp;Volume</source>
        <translation>音量(&amp;V)</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>表示(&amp;V)</translation>
    </message>
    <message>
        <source>V&amp;ideo Scale</source>
        <translation>ビデオの倍率(&amp;I)</translation>
    </message>
    <message>
        <source>&amp;Tool</source>
        <translation>ツール(&amp;T)</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>ヘルプ(&amp;H)</translation>
    </message>
    <message>
        <source>P&amp;roperties...</source>
        <translation>プロパティ(&amp;R)...</translation>
    </message>
    <message>
        <source>1&amp;6 : 9</source>
        <translation>1&amp;6 : 9</translation>
    </message>
    <message>
        <source>&amp;About...</source>
        <translation>バージョン情報(&amp;A)...</translation>
    </message>
</context>
<context>
    <name>lumivox::DialogCommands</name>
    <message>
        <source>All supported types|*.wav;*.snd;*.au;*.aif;*.aifc;*.aiff;*.mpa;*.mp2;*mp3;*.wma;*.avi;*.mpg;*.m1v;*.mpv;*.m2p;*.m2v;*.wmv;*.asf;*.flac;*.ogg;*.oga;*.opus;*.m4a;*.mp4;*.m4v;*.mkv;*.mka;*.webm;*.mov;*.pls;*.m3u;*.lst;*.aal;*.val|Audio Files (*.wav;*.snd;*.au;*.aif;*.aifc;*.aiff)|*.wav;*.snd;*.au;*.aif;*.aifc;*.aiff|MPEG Audio Files (*.mpa;*.mp2;*mp3)|*.mpa;*.mp2;*mp3|Windows Media Audio Files (*.wma)|*.wma|Video Files (*.avi)|*.avi|MPEG Video Files (*.mpg;*.m1v;*.mpv;*.m2p;*.m2v)|*.mpg;*.m1v;*.mpv;*.m2p;*.m2v|Windows Media Video Files (*.wmv;*.asf)|*.wmv;*.asf|Other Audio and Video Files (*.flac;*.ogg;*.oga;*.opus;*.m4a;*.mp4;*.m4v;*.mkv;*.mka;*.webm;*.mov)|*.flac;*.ogg;*.oga;*.opus;*.m4a;*.mp4;*.m4v;*.mkv;*.mka;*.webm;*.mov|Playlist Files (*.pls;*.m3u;*.lst;*.aal;*.val)|*.m3u;*.pls;*.lst;*.aal;*.val|All Files (*.*)|*.*||</source>
        <translation>サポートされているすべてのファイル|*.wav;*.snd;*.au;*.aif;*.aifc;*.aiff;*.mpa;*.mp2;*mp3;*.wma;*.avi;*.mpg;*.m1v;*.mpv;*.m2p;*.m2v;*.wmv;*.asf;*.flac;*.ogg;*.oga;*.opus;*.m4a;*.mp4;*.m4v;*.mkv;*.mka;*.webm;*.mov;*.pls;*.m3u;*.lst;*.aal;*.val|オーディオ ファイル (*.wav;*.snd;*.au;*.aif;*.aifc;*.aiff)|*.wav;*.snd;*.au;*.aif;*.aifc;*.aiff|MPEG オーディオ ファイル (*.mpa;*.mp2;*mp3)|*.mpa;*.mp2;*mp3|Windows Media オーディオ ファイル (*.wma)|*.wma|ビデオ ファイル (*.avi)|*.avi|MPEG ビデオ ファイル (*.mpg;*.m1v;*.mpv;*.m2p;*.m2v)|*.mpg;*.m1v;*.mpv;*.m2p;*.m2v|Windows Media ビデオ ファイル (*.wmv;*.asf)|*.wmv;*.asf|その他のオーディオ/ビデオ ファイル (*.flac;*.ogg;*.oga;*.opus;*.m4a;*.mp4;*.m4v;*.mkv;*.mka;*.webm;*.mov)|*.flac;*.ogg;*.oga;*.opus;*.m4a;*.mp4;*.m4v;*.mkv;*.mka;*.webm;*.mov|プレイリスト ファイル (*.pls;*.m3u;*.lst;*.aal;*.val)|*.m3u;*.pls;*.lst;*.aal;*.val|すべてのファイル (*.*)|*.*||</translation>
    </message>
    <message>
        <source>PLS Playlist (*.pls)|*.pls|M3U Playlist (*.m3u)|*.m3u|LST list (*.lst)|*.lst||</source>
        <translation>PLS プレイリスト (*.pls)|*.pls|M3U プレイリスト (*.m3u)|*.m3u|LST リスト (*.lst)|*.lst||</translation>
    </message>
    <message>
        <source>All supported list (*.pls;*.m3u;*.lst;*.aal;*.val)|*.m3u;*.pls;*.lst;*.aal;*.val|PLS Playlist (*.pls)|*.pls|M3U Playlist (*.m3u)|*.m3u|LST list (*.lst)|*.lst|SOUNDHARBOR Audio Album (*.aal)|*.aal|SOUNDHARBOR Video Album (*.val)|*.val|All Files (*.*)|*.*||</source>
        <translation>サポートされているすべてのリスト (*.pls;*.m3u;*.lst;*.aal;*.val)|*.m3u;*.pls;*.lst;*.aal;*.val|PLS プレイリスト (*.pls)|*.pls|M3U プレイリスト (*.m3u)|*.m3u|LST リスト (*.lst)|*.lst|SOUNDHARBOR オーディオ アルバム (*.aal)|*.aal|SOUNDHARBOR ビデオ アルバム (*.val)|*.val|すべてのファイル (*.*)|*.*||</translation>
    </message>
    <message>
        <source>Open...</source>
        <translation>開く...</translation>
    </message>
    <message>
        <source>Add...</source>
        <translation>追加...</translation>
    </message>
    <message>
        <source>Specify the Folder to Search</source>
        <translation>検索するフォルダを指定してください</translation>
    </message>
    <message>
        <source>Open Playlist...</source>
        <translation>プレイリストを開く...</translation>
    </message>
    <message>
        <source>Save Playlist...</source>
        <translation>プレイリストを保存...</translation>
    </message>
    <message>
        <source>%1 already exists.
Do you want to replace it?</source>
        <translation>%1 は既に存在します。
置き換えますか?</translation>
    </message>
    <message>
        <source>LumivaultHD output will be activated if the file is opened next</source>
        <translation>LumivaultHD 出力は次にファイルを開いたときに有効になります</translation>
    </message>
</context>
<context>
    <name>lumivox::ElementPropertyPages</name>
    <message>
        <source>Properties</source>
        <translation>プロパティ</translation>
    </message>
</context>
</TS>
