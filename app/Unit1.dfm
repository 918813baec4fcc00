object Form1: TForm1
  Left = 227
  Top = 285
  BorderIcons = [biSystemMenu, biMinimize]
  BorderStyle = bsSingle
  Caption = 'Korvel'
  ClientHeight = 289
  ClientWidth = 477
  Color = clBtnFace
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  Font.Style = []
  PixelsPerInch = 96
  TextHeight = 13
  object PageControl1: TPageControl
    Left = 8
    Top = 8
    Width = 457
    Height = 273
    ActivePage = TabSheet1
    Font.Charset = DEFAULT_CHARSET
    Font.Color = clWindowText
    Font.Height = -11
    Font.Name = 'MS Sans Serif'
    Font.Style = [fsBold]
    ParentFont = False
    TabIndex = 0
    TabOrder = 0
    object TabSheet1: TTabSheet
      Caption = '- 1 -'
      Font.Charset = DEFAULT_CHARSET
      Font.Color = clMenuHighlight
      Font.Height = -11
      Font.Name = 'MS Sans Serif'
      Font.Style = []
      ParentFont = False
      object Image1: TImage
        Left = 288
        Top = 16
        Width = 153
        Height = 217
        Picture.Data = {TJPEGImage: cover.jpg}
        Proportional = True
      end
      object Button1: TButton
        Left = 8
        Top = 16
        Width = 257
        Height = 25
        Caption = 'МСФО 20'
        TabOrder = 0
        OnClick = Button1Click
      end
      object Button2: TButton
        Left = 8
        Top = 64
        Width = 257
        Height = 25
        Caption = 'МСФО 41'
        TabOrder = 1
        OnClick = Button2Click
      end
      object Button3: TButton
        Left = 8
        Top = 104
        Width = 257
        Height = 25
        Caption = 'Закон РК от 10 марта 2004 года № 533-II'
        TabOrder = 2
        OnClick = Button3Click
      end
      object Button4: TButton
        Left = 8
        Top = 152
        Width = 257
        Height = 25
        Caption = 'МСБУ 41'
        TabOrder = 3
        OnClick = Button4Click
      end
      object Button5: TButton
        Left = 8
        Top = 200
        Width = 257
        Height = 25
        Caption = 'Налоговая учетная политика'
        TabOrder = 4
        OnClick = Button5Click
      end
    end
  end
end
