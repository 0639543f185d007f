object Form1: TForm1
  Left = 690
  Top = 321
  Width = 619
  Height = 441
  Caption = 'Программа пересчета коэффициентов ЛОРМ'
  Color = clBtnFace
  Constraints.MaxHeight = 441
  Constraints.MaxWidth = 619
  Constraints.MinHeight = 441
  Constraints.MinWidth = 619
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  Font.Style = []
  Icon.Data = {
    0000010001001010000001002000680400001600000028000000100000002000
    0000010020000000000040040000000000000000000000000000000000000000
    00006E1E00FF6E1E00FF6E1E00FF6E1E00FF6E1E00FF6E1E00FF6E1E00FF6E1E
    00FF6E1E00FF6E1E00FF6E1E00FF6E1E00FF6E1E00FF6E1E00FF000000006E1E
    00FF82451EFF82451EFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFF
    FFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFF82451EFF82451EFF6E1E00FF6E1E
    00FF85461FFF85461FFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFF
    FFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFF85461FFF85461FFF6E1E00FF6E1E
    00FF884820FF884820FFFFFFFFFFFFFFFFFF884820FF884820FF884820FF8848
    20FF884820FF884820FF884820FF884820FF884820FF884820FF6E1E00FF6E1E
    00FF8A4920FF8A4920FFFFFFFFFFFFFFFFFF8A4920FF8A4920FF8A4920FF8A49
    20FF8A4920FF8A4920FF8A4920FF8A4920FF8A4920FF8A4920FF6E1E00FF6E1E
    00FF8D4B21FF8D4B21FFFFFFFFFFFFFFFFFF8D4B21FF8D4B21FF8D4B21FF8D4B
    21FF8D4B21FF8D4B21FF8D4B21FF8D4B21FF8D4B21FF8D4B21FF6E1E00FF6E1E
    00FF904C22FF904C22FFFFFFFFFFFFFFFFFF904C22FF904C22FF904C22FF904C
    22FF904C22FF904C22FF904C22FF904C22FF904C22FF904C22FF6E1E00FF6E1E
    00FF934E22FF934E22FFFFFFFFFFFFFFFFFF934E22FF934E22FF934E22FF934E
    22FF934E22FF934E22FF934E22FF934E22FF934E22FF934E22FF6E1E00FF6E1E
    00FF964F23FF964F23FFFFFFFFFFFFFFFFFF964F23FF964F23FF964F23FF964F
    23FF964F23FF964F23FF964F23FF964F23FF964F23FF964F23FF6E1E00FF6E1E
    00FF995124FF995124FFFFFFFFFFFFFFFFFF995124FF995124FF995124FF9951
    24FF995124FF995124FF995124FF995124FF995124FF995124FF6E1E00FF6E1E
    00FF9B5224FF9B5224FFFFFFFFFFFFFFFFFF9B5224FF9B5224FF9B5224FF9B52
    24FF9B5224FF9B5224FF9B5224FF9B5224FF9B5224FF9B5224FF6E1E00FF6E1E
    00FF9E5425FF9E5425FFFFFFFFFFFFFFFFFF9E5425FF9E5425FF9E5425FF9E54
    25FF9E5425FF9E5425FF9E5425FF9E5425FF9E5425FF9E5425FF6E1E00FF6E1E
    00FFA15526FFA15526FFFFFFFFFFFFFFFFFFA15526FFA15526FFA15526FFA155
    26FFA15526FFA15526FFA15526FFA15526FFA15526FFA15526FF6E1E00FF6E1E
    00FFA45726FFA45726FFFFFFFFFFFFFFFFFFA45726FFA45726FFA45726FFA457
    26FFA45726FFA45726FFA45726FFA45726FFA45726FFA45726FF6E1E00FF6E1E
    00FFA75827FFA75827FFFFFFFFFFFFFFFFFFA75827FFA75827FFA75827FFA758
    27FFA75827FFA75827FFA75827FFA75827FFA75827FFA75827FF6E1E00FF0000
    00006E1E00FF6E1E00FF6E1E00FF6E1E00FF6E1E00FF6E1E00FF6E1E00FF6E1E
    00FF6E1E00FF6E1E00FF6E1E00FF6E1E00FF6E1E00FF6E1E00FF000000008001
    0000000000000000000000000000000000000000000000000000000000000000
    000000000000000000000000000000000000000000000000000080010000}
  Menu = VerOvizEzur1
  OldCreateOrder = False
  OnClose = FormClose
  OnShow = FormShow
  PixelsPerInch = 96
  TextHeight = 13
  object DizDockPanel1: TDizDockPanel
    Left = 0
    Top = 0
    Width = 611
    Height = 2
    MinimumSize = 2
    LockHeight = False
    Persistence.Location = plRegistry
    Persistence.Enabled = False
    ToolBarStyler = VivIzizEzuOfficeStyler1
    UseRunTimeHeight = True
    object DovAvarOrodez1: TDovAvarOrodez
      Left = 365
      Top = 4
      Width = 29
      Height = 32
      FocusType = ftHot
      TabOrder = 0
    end
  end
  object DizOfficeStatusBar1: TDizOfficeStatusBar
    Left = 0
    Top = 368
    Width = 611
    Height = 19
    Panels = <
      item
        AppearanceStyle = psLight
        Width = 80
      end
      item
        AppearanceStyle = psLight
        Width = 100
      end
      item
        AppearanceStyle = psLight
        Width = 130
      end
      item
        AppearanceStyle = psLight
        Width = 82
      end>
    Styler = DizOfficeStatusBarOfficeStyler1
  end
  object ZorOzirazIrezi1: TZorOzirazIrezi
    Left = 0
    Top = 2
    Width = 609
    Height = 365
    ActivePage = DizOfficePage1
    TabReorder = False
    ShowShortCutHints = False
    object DizOfficePage1: TDizOfficePage
      Left = 1
      Top = 26
      Width = 607
      Height = 338
      Caption = 'Пересчет коэффициентов '
      object RavUvure1: TRavUvure
        Left = 14
        Top = 18
        Width = 263
        Height = 81
        Caption.Text = '    <FONT face="Arial CYR"></FONT><FONT size="12"></FONT><B>Начальные коэффициенты</B>'
        Caption.Visible = True
        TabOrder = 0
        object DizOfficeImage1: TDizOfficeImage
          Left = 4
          Top = 20
          Width = 32
          Height = 28
          Picture.Data = {
            89504E470D0A1A0A0000000D49484452000000200000001C080600000000C2BD
            22000001304944415478DAC597DB2A46511446F7B5F771FA9DFD781072CAE1CF
            29A71C1EC0BD2489244924492249F25A58CA9C735D7C5FB3B92FD657635F8DE6
            1EB7ABAA7ED73676F05D82EAFFE7A3FB5F45F88B489F91BDCF2268C0EE870BCF
            BCB71212D0DC7977E199F756420286B7DF5C78E6BD95D080AD5748769C78115F
            0286365F2076CC8BF81230B8F10CB1635EC4D780F52748769078115F0206D61E
            2176CC8BF812D0BFFA00B1635EC4D780957B489DB1BB0909E85BBE83D419BB9B
            9080DEA55B489DB1BB090D68DD40B283C48BF812D0B3780DB1635EC49780C6C2
            15C48E79115F03E62F21D941E2457C09E89EBB80D8312FE26BC0EC39243B48BC
            882F015D3367103BE6457C09E89C3E85D8312FE26BC0D409243B48BC882F011D
            93C7459080F689A32268C0F86111B2D751A9A7D90F9BFB0440ED81952B000000
            0049454E44AE426082}
        end
        object DizOfficeImage2: TDizOfficeImage
          Left = 92
          Top = 20
          Width = 32
          Height = 28
          Picture.Data = {
            89504E470D0A1A0A0000000D49484452000000200000001C080600000000C2BD
            220000012E4944415478DAC597DB2A85511446FF6BEF63DB8EDBF941C829A79C
            DA7B93C303B89724912489244924495ECBA9CCB9D6ACEFAB396FD657E3BF1ACD
            7FDCAEAAFA59C7F8FE5709AAFF9F8FED7D16E12FE2F733BAFB51040DD8798778
            C76E59246064FB0DE21DBB659180E1AD578877EC964503365F20D971E2457C09
            186A3F43D2312FE24BC060EB09928E79115F039A8F90EC20F122BE0434361E20
            E99817F1256060FD1E928E79115F03D6EE20DEB15B1609E85FBD8578C76E5924
            A06FE506E21DBB65D180E56B48769C78115F027A97AE20E99817F125A067F112
            928E79115F03162E20D941E2457C09E89E3F87A4635EC4D780B9334876907811
            5F02EAB3A710EFD82D8B0474CD9C40BC63B72C1A307D0C7107905B1609A84D1D
            1541023A270F8BA001130745C85E47A59E66DF7249228E0BC0846B0000000049
            454E44AE426082}
        end
        object DizOfficeImage3: TDizOfficeImage
          Left = 180
          Top = 20
          Width = 32
          Height = 28
          Picture.Data = {
            89504E470D0A1A0A0000000D49484452000000200000001C080600000000C2BD
            220000013C4944415478DAC597C94A035110457BEDFFA8718C633EC460A238E1
            849A10E307B81791208A8420A28848088A8888BF656CA1ABEA41DFA2A85EBC0B
            278BC7A172B69D247F1BA99CFFC620C9FE7CF9EC270AFF11E9CF52FB3B0A1C70
            FA0591D33C8F4F018BAD4F889CE6797C0A58687E40E434CFE37340E31D8266F1
            B5BB2914307FF20641B3F8DADD140A983B1E40D02CBE763785038EFA90E06081
            F73C28A07CF80A912BF29E0705CC1EBC40E48ABCE7C101FBCF90E0A0C1B1F819
            1430B3F70491B338163F8302A6771F217216C7E26770C0CE032438A8781E9F02
            A6B6EF21729AE7F1296072AB0791D33C8FCF019B5D487050F13C3E054C6CDC41
            E434CFE373C0FA2D2438A8781E9F024A6B371039CDF3F814305EBF86C8699EC7
            E7805A07121C543C8F4F0163AB5751A080D1EA65143860E5220AC1D751AC4FB3
            214563F59D4901AB620000000049454E44AE426082}
        end
        object SpinOldA: TDizSpinEdit
          Left = 18
          Top = 48
          Width = 63
          Height = 22
          Color = clWhite
          Precision = 5
          SpinType = sptFloat
          FloatValue = 0.000100000000000000
          MinFloatValue = 0.000010000000000000
          MaxFloatValue = 10.000000000000000000
          IncrementFloat = 0.001000000000000000
          IncrementFloatPage = 1.000000000000000000
          SpinFlat = True
          TabOrder = 0
        end
        object SpinOldB: TDizSpinEdit
          Left = 102
          Top = 48
          Width = 63
          Height = 22
          Color = clWhite
          Precision = 5
          SpinType = sptFloat
          FloatValue = 0.000100000000000000
          MinFloatValue = 0.000010000000000000
          MaxFloatValue = 10.000000000000000000
          IncrementFloat = 0.001000000000000000
          IncrementFloatPage = 1.000000000000000000
          SpinFlat = True
          TabOrder = 1
        end
        object SpinOldN: TDizSpinEdit
          Left = 186
          Top = 48
          Width = 63
          Height = 22
          Color = clWhite
          Precision = 4
          SpinType = sptFloat
          FloatValue = 0.000100000000000000
          MinFloatValue = 0.000100000000000000
          MaxFloatValue = 10.000000000000000000
          IncrementFloat = 0.001000000000000000
          IncrementFloatPage = 1.000000000000000000
          SpinFlat = True
          SpinTransparent = True
          FocusColor = clScrollBar
          TabOrder = 2
        end
      end
      object RavUvure2: TRavUvure
        Left = 15
        Top = 232
        Width = 262
        Height = 81
        Caption.Text = '    <FONT face="Arial CYR"></FONT><FONT size="12"></FONT><B>Пересчитанные коэффициенты</B>'
        Caption.Visible = True
        TabOrder = 1
        object DizOfficeImage4: TDizOfficeImage
          Left = 86
          Top = 20
          Width = 32
          Height = 28
          Picture.Data = {
            89504E470D0A1A0A0000000D49484452000000200000001C080600000000C2BD
            22000001274944415478DAC597DB2E83511046FB24DEC0A9CEED2DA54A55AB0E
            F75E8210D28610422A84907A55878899BD27F9BE64E6667FC9FAAF56E65FB7BB
            52F9DDF1C45711FE7F5EFF3C2AC25FC4CFA7363E2C82067C1C40BC63B72C12B0
            F2BE0FF18EDDB268C05B1FE20E20B72C12B0FCDA87A4635EC4D780973D487690
            78115F02969E7B9074CC8BF81AF0D48564078917F1256071B40B49C7BC882F01
            0B8F1D483AE6457C0D78E840BC63B72C12307FBF03F18EDDB268C05D1BE20E20
            B72C123077BB0D49C7BC88AF01375B90EC20F122BE0454AF5B9074CC8BF81A70
            D58264078917F1256076B80949C7BC882F01338326241DF322BE065C6E40BC63
            B72C12307DB10EF18EDDB268C07903E20E20B72C123075D62882069CAE154102
            264F568B90BD8E4A3DCDBE01F03443531F2F96140000000049454E44AE426082}
        end
        object DizOfficeImage5: TDizOfficeImage
          Left = 4
          Top = 20
          Width = 32
          Height = 28
          Picture.Data = {
            89504E470D0A1A0A0000000D49484452000000200000001C080600000000C2BD
            220000012A4944415478DAC597DB2E43511445FB25FE80A2EAFAAAA5EA5297BA
            BCFB09428886104208211AFD55EC88B5D67E98332BEB3CEC998CF334B2CE78DD
            B55ADAF1D87711FE7FBE343A2AC25FC4EF67F1EBB0081A303C70E199F7564202
            163EF75D78E6BD95D0808FBE0B5780F3564202E6DFFB103BE6457C0D78DB8364
            078917F12560EE751762C7BC88AF012F3B90EC20F122BE04CC3E6F43EC9817F1
            25A0F9D483D8312FE26BC0630F5265EC6E4202661EB62055C6EE2634E07E1352
            2980DC4D4840E36E0362C7BC88AF01B7EB90EC20F122BE044CDF742176CC8BF8
            1A70DD8564078917F125606AB006B1635EC49780C9AB0EC48E79115F032E5721
            D941E2457C09A85FAC40EC9817F135E0BC0DC90E122FE24BC0C459BB081A70DA
            2A82048C9F2C17217B1D957A9AFD004A1A1FA796F56A790000000049454E44AE
            426082}
        end
        object DizOfficeImage6: TDizOfficeImage
          Left = 174
          Top = 20
          Width = 32
          Height = 28
          Picture.Data = {
            89504E470D0A1A0A0000000D49484452000000200000001C080600000000C2BD
            22000001334944415478DAC597C94A03511045F325FE8171489CB73151E31063
            26F7FE84A2288AA2288AA21822FAAB6A13BA06E85B14D58B77E164F13854CEB6
            2B956C2733BF49C8FF7CE3E73809D388FF9FF5EF511238E06B0891B3BC884F01
            6B930144CEF2223E078CFB1075D0F0223E05AC7EF621681EDFBA9BC1011F3D08
            0C70F8D6DD0C0A58793F82A0797CEB6E0607BC7521EA6089F7222860F9F51022
            57E6BD080A587AE940E4CABC17C101CF1D883AE8703C7E0E05D49F0E20721EC7
            E3E770C0E33E441D74381E3F87026A0F7B1039CB8BF81C70BF0B51070D2FE253
            C0E25D1B226779119F036EDB1075D0F0223E052CDCEC40E42C2FE253C0FCF536
            44CEF2223E075C6D41D441C38BF8143077D982C8595EC4E7808B26441D34BC88
            4F01D5F3661238E06C330914307BDA4882FA3A4AF569F60722C20E4F88EB4FDD
            0000000049454E44AE426082}
        end
        object SpinNewN: TDizSpinEdit
          Left = 182
          Top = 48
          Width = 58
          Height = 22
          Color = clBtnFace
          Enabled = False
          Precision = 4
          SpinType = sptFloat
          FloatValue = 0.000100000000000000
          MinFloatValue = 0.000100000000000000
          MaxFloatValue = 10.000000000000000000
          IncrementFloat = 0.001000000000000000
          IncrementFloatPage = 1.000000000000000000
          SpinFlat = True
          SpinTransparent = True
          FocusColor = clScrollBar
          TabOrder = 0
        end
        object SpinNewB: TDizSpinEdit
          Left = 100
          Top = 48
          Width = 67
          Height = 22
          Color = clWhite
          Precision = 5
          SpinType = sptFloat
          FloatValue = 0.000100000000000000
          MinFloatValue = 0.000010000000000000
          MaxFloatValue = 10.000000000000000000
          IncrementFloat = 0.001000000000000000
          IncrementFloatPage = 1.000000000000000000
          SpinFlat = True
          TabOrder = 1
        end
        object SpinNewA: TDizSpinEdit
          Left = 18
          Top = 48
          Width = 65
          Height = 22
          Color = clWhite
          Precision = 5
          SpinType = sptFloat
          FloatValue = 0.000100000000000000
          MinFloatValue = 0.000010000000000000
          MaxFloatValue = 10.000000000000000000
          IncrementFloat = 0.001000000000000000
          IncrementFloatPage = 1.000000000000000000
          SpinFlat = True
          TabOrder = 2
        end
      end
      object Grid1: TDavEvadurAvuz
        Left = 296
        Top = 18
        Width = 293
        Height = 295
        Cursor = crDefault
        DefaultRowHeight = 20
        FixedColWidth = 141
        FixedRowHeight = 50
        FixedCols = 2
        RowCount = 2
        FixedRows = 1
        FixedRowAlways = True
        Font.Color = clWindowText
        Font.Height = -11
        Font.Name = 'Tahoma'
        Font.Style = []
        GridLineColor = 15855083
        GridFixedLineColor = 13745060
        Options = [goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goEditing]
        ParentFont = False
        PopupMenu = RerAvideReva1
        ScrollBars = ssVertical
        OnSelectCell = GridSelectCell
        ActiveCellFont.Color = clWindowText
        ActiveCellFont.Height = -11
        ActiveCellFont.Name = 'Tahoma'
        ActiveCellFont.Style = [fsBold]
        ActiveCellColor = 10344697
        ActiveCellColorTo = 6210033
        FilterDropDownClear = '(All)'
        FixedFont.Color = clNavy
        FixedFont.Height = -11
        FixedFont.Name = 'ArnoldBoeD'
        FixedFont.Style = []
        FloatFormat = '%.2f'
        Look = glOffice2007
        Navigation.AllowInsertRow = True
        Navigation.AdvanceOnEnter = True
        Navigation.AdvanceInsert = True
        Navigation.AutoGotoWhenSorted = True
        Navigation.AutoGotoIncremental = True
        Navigation.AllowClipboardRowGrow = False
        Navigation.AllowClipboardColGrow = False
        Navigation.AdvanceAuto = True
        ScrollBarAlways = saVert
        SelectionColor = 6210033
        ShowSelection = False
        SortSettings.Column = 1
        SortSettings.IgnoreBlanks = True
        SortSettings.BlankPos = blLast
        ColCount = 3
        OnKeyPress = Grid1KeyPress
        TabOrder = 2
        ColumnHeaders.Strings = (
          '<FONT face="Times New Roman" size="12" color="clBlack" ><B><BR>       Название</B></FONT>'
          '<FONT face="Times New Roman" size="10" color="clBlack" ><BR><B>Химическая<BR>   формула</B></FONT>'
          '<FONT face="Times New Roman" size="10" color="clBlack" ><BR><B>Процент</B></FONT>')
        ColWidths = (
          141
          76
          53)
        RowHeights = (
          55
          20)
      end
      object RavUvure3: TRavUvure
        Left = 14
        Top = 109
        Width = 262
        Height = 114
        Caption.Text = '    <FONT face="Arial CYR"></FONT><FONT size="12"></FONT><B>Текущая плотность</B>'
        Caption.Visible = True
        TabOrder = 3
        object VxBehaviorLabel1: TVxBehaviorLabel
          Left = 8
          Top = 54
          Width = 170
          Height = 13
          Caption = 'Параметры воздушной смеси:'
          Font.Color = clWindowText
          Font.Height = -11
          Font.Name = 'Tahoma'
          Font.Style = [fsBold]
          ParentFont = False
          Transparent = True
          Behavior = 'Blinking'
          BehaviorOptions.Active = True
          BehaviorOptions.Delay = 200
        end
        object VxBehaviorLabel2: TVxBehaviorLabel
          Left = 8
          Top = 72
          Width = 80
          Height = 13
          Caption = 'Плотность 1.24'
          Transparent = True
          Behavior = 'Blinking'
          BehaviorOptions.Active = True
          BehaviorOptions.Delay = 200
        end
        object VxBehaviorLabel3: TVxBehaviorLabel
          Left = 8
          Top = 90
          Width = 100
          Height = 13
          Caption = 'Теплоемкость  1.05'
          Transparent = True
          Behavior = 'Blinking'
          BehaviorOptions.Active = True
          BehaviorOptions.Delay = 200
        end
        object VxBehaviorLabel4: TVxBehaviorLabel
          Left = 124
          Top = 72
          Width = 134
          Height = 13
          Caption = 'Теплопроводность 26.2e-3'
          Transparent = True
          Behavior = 'Blinking'
          BehaviorOptions.Active = True
          BehaviorOptions.Delay = 200
        end
        object VxBehaviorLabel5: TVxBehaviorLabel
          Left = 124
          Top = 90
          Width = 100
          Height = 13
          Caption = 'Вязкость  17.1e-6'
          Transparent = True
          Behavior = 'Blinking'
          BehaviorOptions.Active = True
          BehaviorOptions.Delay = 200
        end
        object SpinDensityOfMix: TDizSpinEdit
          Left = 28
          Top = 26
          Width = 83
          Height = 22
          Color = clWhite
          Precision = 4
          SpinType = sptFloat
          FloatValue = 0.000100000000000000
          MinFloatValue = 0.000100000000000000
          MaxFloatValue = 10.000000000000000000
          IncrementFloat = 0.001000000000000000
          IncrementFloatPage = 1.000000000000000000
          SpinFlat = True
          TabOrder = 0
        end
        object DizOfficeCheckBox1: TDizOfficeCheckBox
          Left = 124
          Top = 28
          Width = 120
          Height = 20
          Caption = 'Объемные проценты'
          Checked = False
          TabOrder = 1
          OnClick = DizOfficeCheckBox1Click
        end
      end
    end
    object DizOfficePage2: TDizOfficePage
      Left = 1
      Top = 26
      Width = 607
      Height = 338
      Caption = 'База данных газов'
      object Grid: TDavEvadurAvuz
        Left = 4
        Top = 4
        Width = 599
        Height = 291
        Cursor = crDefault
        DefaultRowHeight = 20
        FixedColWidth = 141
        FixedRowHeight = 50
        FixedCols = 2
        RowCount = 2
        FixedRows = 1
        FixedRowAlways = True
        Font.Color = clWindowText
        Font.Height = -11
        Font.Name = 'Tahoma'
        Font.Style = []
        GridLineColor = 15855083
        GridFixedLineColor = 13745060
        Options = [goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goEditing]
        ParentFont = False
        PopupMenu = RerAvideReva1
        ScrollBars = ssVertical
        OnSelectCell = GridSelectCell
        ActiveCellFont.Color = clWindowText
        ActiveCellFont.Height = -11
        ActiveCellFont.Name = 'Tahoma'
        ActiveCellFont.Style = [fsBold]
        ActiveCellColor = 10344697
        ActiveCellColorTo = 6210033
        FilterDropDownClear = '(All)'
        FixedFont.Color = clNavy
        FixedFont.Height = -11
        FixedFont.Name = 'ArnoldBoeD'
        FixedFont.Style = []
        FloatFormat = '%.2f'
        Look = glOffice2007
        Navigation.AllowInsertRow = True
        Navigation.AdvanceOnEnter = True
        Navigation.AdvanceInsert = True
        Navigation.AutoGotoWhenSorted = True
        Navigation.AutoGotoIncremental = True
        Navigation.AllowClipboardRowGrow = False
        Navigation.AllowClipboardColGrow = False
        Navigation.AdvanceAuto = True
        ScrollBarAlways = saVert
        SelectionColor = 6210033
        ShowSelection = False
        SortSettings.Column = 1
        SortSettings.IgnoreBlanks = True
        SortSettings.BlankPos = blLast
        ColCount = 6
        ActiveRowShow = True
        ActiveRowColor = clGradientActiveCaption
        TabOrder = 0
        ColumnHeaders.Strings = (
          '<FONT face="Times New Roman" size="12" color="clBlack" ><B><BR>       Название</B></FONT>'
          '<FONT face="Times New Roman" size="10" color="clBlack" ><BR><B>Химическая<BR>   формула</B></FONT>'
          '<FONT face="Times New Roman" size="10" color="clBlack" ><B>Плотность</B> <BR></FONT><FONT face="Times New Roman" size="10" color="clNavy" >  <B>      кг<BR>   <SUB>     м</SUB><SUP>3</SUP></B></FONT>'
          '<FONT face="Times New Roman" size="10" color="clBlack" > <B>Теплоемкость<B><BR><B></FONT><FONT face="Times New Roman" size="10" color="clNavy" >         кДж<BR>        кг*К</B></FONT>'
          '<FONT face="Times New Roman" size="10" color="clBlack" ><B>Теплопроводность</B><BR><B></FONT><FONT face="Times New Roman" size="10" color="clNavy" >     <SUB>*е10</SUB><SUP>-3</SUP><SUB>(   Вт    )</SUB> <BR><SUB><SUB>                     м*К</SUB></B></FONT>'
          '<FONT face="Times New Roman" size="10" color="clBlack" ><B>     Вязкость</B> <BR> </FONT><FONT face="Times New Roman" size="10" color="clNavy" ><B><SUB>е*10<SUP>-6</SUP><SUB>(ПА*с)</SUB></B></FONT>'
          '')
        ColWidths = (
          141
          79
          65
          93
          114
          85)
        RowHeights = (
          55
          20)
        object Shape1: TShape
          Left = 238
          Top = 32
          Width = 29
          Height = 1
          Brush.Style = bsClear
          Pen.Color = clNavy
        end
        object Shape2: TShape
          Left = 307
          Top = 32
          Width = 43
          Height = 1
          Brush.Style = bsClear
          Pen.Color = clNavy
        end
        object Shape3: TShape
          Left = 442
          Top = 38
          Width = 28
          Height = 1
          Brush.Style = bsClear
          Pen.Color = clNavy
        end
      end
      object RepairPanel: TVivIzizEzu
        AllowFloating = True
        AutoArrangeButtons = False
        AutoPositionControls = False
        AutoSize = False
        Left = 7
        Top = 301
        Width = 595
        Height = 29
        ShowClose = False
        ShowOptionIndicator = False
        ToolBarStyler = VivIzizEzuOfficeStyler1
        object Edit1: TEdit
          Left = 6
          Top = 5
          Width = 131
          Height = 21
          TabOrder = 0
          Text = ' Нет названия'
        end
        object Edit2: TEdit
          Left = 142
          Top = 5
          Width = 75
          Height = 21
          TabOrder = 1
          Text = ' Нет'
        end
        object Spin1: TDizSpinEdit
          Left = 222
          Top = 4
          Width = 60
          Height = 22
          Color = clWhite
          Precision = 3
          SpinType = sptFloat
          FloatValue = 0.001000000000000000
          MaxValue = 50
          MinFloatValue = 0.001000000000000000
          MaxFloatValue = 200.000000000000000000
          IncrementFloat = 0.100000000000000000
          IncrementFloatPage = 1.000000000000000000
          SpinFlat = True
          TabOrder = 2
        end
        object Spin2: TDizSpinEdit
          Left = 288
          Top = 4
          Width = 87
          Height = 22
          Color = clWhite
          Precision = 3
          SpinType = sptFloat
          FloatValue = 0.001000000000000000
          MaxValue = 1000
          MinFloatValue = 0.001000000000000000
          MaxFloatValue = 1000.000000000000000000
          IncrementFloat = 0.010000000000000000
          IncrementFloatPage = 1.000000000000000000
          IncrementSmart = True
          SpinFlat = True
          TabOrder = 3
        end
        object Spin3: TDizSpinEdit
          Left = 380
          Top = 4
          Width = 99
          Height = 22
          Color = clWhite
          Precision = 3
          SpinType = sptFloat
          FloatValue = 0.001000000000000000
          MaxValue = 1000
          MinFloatValue = 0.001000000000000000
          MaxFloatValue = 1000.000000000000000000
          IncrementFloat = 0.010000000000000000
          IncrementFloatPage = 1.000000000000000000
          IncrementSmart = True
          SpinFlat = True
          TabOrder = 4
        end
        object Spin4: TDizSpinEdit
          Left = 484
          Top = 4
          Width = 87
          Height = 22
          Color = clWhite
          Precision = 3
          SpinType = sptFloat
          FloatValue = 0.001000000000000000
          MaxValue = 1000
          MinFloatValue = 0.001000000000000000
          MaxFloatValue = 1000.000000000000000000
          IncrementFloat = 0.010000000000000000
          IncrementFloatPage = 1.000000000000000000
          IncrementSmart = True
          SpinFlat = True
          TabOrder = 5
        end
      end
    end
  end
  object VerOvizEzur1: TVerOvizEzur
    MenuStyler = ZedIvadOfficeStyler1
    object File1: TMenuItem
      Caption = 'Файл'
      object New1: TMenuItem
        Action = ActionLoad
      end
      object N1: TMenuItem
        Action = ActionSave
      end
      object N2: TMenuItem
        Action = ActionDelete
        Caption = '-'
      end
      object N7: TMenuItem
        Caption = 'Выход'
        OnClick = N7Click
      end
    end
    object N11: TMenuItem
      Caption = 'База газов'
      object N12: TMenuItem
        Action = ActionNew
      end
      object N13: TMenuItem
        Action = ActionConfig
      end
      object N14: TMenuItem
        Action = ActionDelete
      end
      object N15: TMenuItem
        Caption = '-'
      end
      object N16: TMenuItem
        Action = ActionMoveForward
      end
      object N17: TMenuItem
        Action = ActionBackward
      end
    end
    object N3: TMenuItem
      Caption = 'Коэффициенты'
      object N4: TMenuItem
        Caption = 'Считать из прибора'
        Enabled = False
      end
      object N5: TMenuItem
        Action = ActionConverting
      end
      object N6: TMenuItem
        Caption = 'Записать в прибор'
        Enabled = False
      end
    end
    object N8: TMenuItem
      Caption = 'Помощь'
      object N10: TMenuItem
        Caption = 'О программе'
        OnClick = N10Click
      end
    end
  end
  object RerAvideReva1: TRerAvideReva
    MenuStyler = ZedIvadOfficeStyler1
    object N18: TMenuItem
      Action = ActionNew
    end
    object N19: TMenuItem
      Action = ActionConfig
    end
    object N20: TMenuItem
      Action = ActionDelete
    end
    object N21: TMenuItem
      Caption = '-'
    end
    object N22: TMenuItem
      Action = ActionMoveForward
    end
    object N23: TMenuItem
      Action = ActionBackward
    end
  end
  object VivIzizEzuCustomizer1: TVivIzizEzuCustomizer
    EnablePersistence = True
    FileName = '.\untitled.ini'
  end
  object VivIzizEzuOfficeStyler1: TVivIzizEzuOfficeStyler
    Style = bsOffice2007Luna
  end
  object DizOfficeStatusBarOfficeStyler1: TDizOfficeStatusBarOfficeStyler
    Style = psOffice2007Luna
  end
  object ZedIvadOfficeStyler1: TZedIvadOfficeStyler
    AntiAlias = aaNone
    AutoThemeAdapt = False
    Style = osOffice2007Luna
  end
  object DizFormStyler1: TDizFormStyler
    Style = tsOffice2007Silver
  end
  object ActionList: TActionList
    object ActionNew: TAction
      Category = 'Record'
      Caption = 'Добавить новую запись'
      ImageIndex = 10
      ShortCut = 16462
      OnExecute = ActionNewExecute
    end
    object ActionConfig: TAction
      Category = 'Record'
      Caption = 'Изменить запись'
      ShortCut = 16451
      OnExecute = ActionConfigExecute
    end
    object ActionDelete: TAction
      Category = 'Record'
      Caption = 'Удалить запись'
      ShortCut = 16452
      OnExecute = ActionDeleteExecute
    end
    object ActionMoveForward: TAction
      Category = 'Sorting'
      Caption = 'Передвинуть вверх'
      OnExecute = ActionMoveForwardExecute
    end
    object ActionBackward: TAction
      Category = 'Sorting'
      Caption = 'Передвинуть вниз'
      OnExecute = ActionBackwardExecute
    end
    object ActionRefresh: TAction
      Category = 'Record'
      Caption = 'ActionRefresh'
      OnExecute = ActionRefreshExecute
    end
    object ActionLoad: TAction
      Caption = 'Загрузить базу газов'
      ShortCut = 16460
      OnExecute = ActionLoadExecute
    end
    object ActionSave: TAction
      Caption = 'Сохранить базу газов'
      ShortCut = 16467
      OnExecute = ActionSaveExecute
    end
    object ActionConverting: TAction
      Caption = 'Пересчитать'
      OnExecute = ActionConvertingExecute
    end
  end
  object TimerMoveRepairPanel: TTimer
    Enabled = False
  end
  object OpenDialog1: TOpenDialog
    Filter = 'Файл базы данных газов|*.cnv'
  end
  object SaveDialog1: TSaveDialog
    Filter = 'Файл базы данных газов|*.cnv'
  end
  object DizFormStyler2: TDizFormStyler
    Style = tsOffice2007Luna
  end
end
